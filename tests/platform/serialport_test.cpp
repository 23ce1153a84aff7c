#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "boardprocess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

using namespace ferrox;

namespace {

// A pseudo-terminal's master, its slave standing in for a serial device.
int openMaster()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && (::grantpt(master) != 0 || ::unlockpt(master) != 0)) {
        ::close(master);
        return -1;
    }
    return master;
}

} // namespace

TEST(WaitingCount, ReadsAsSignedSixteenBitAndNeverWrapsBackToPositive)
{
    EXPECT_EQ(SerialPort::toWaitingCount(32767), 32767);
    EXPECT_EQ(SerialPort::toWaitingCount(32768), -32768);
    EXPECT_EQ(SerialPort::toWaitingCount(65535), -1);
    EXPECT_LT(SerialPort::toWaitingCount(65536), 0);
}

TEST(LineSettings, ParsesTheProgramsSettingsTexts)
{
    const QList<std::pair<const char *, int>> cases{
        {" 57600,n,8,1", 57600}, {"115200,N,8,1", 115200}, {"fast,n,8,1", 0}, {" 57600,n,8", 0}, {" 57600,x,8,1", 0}};
    for (const auto &[text, baud] : cases) {
        LineSettings s;
        EXPECT_EQ(parseLineSettings(QLatin1String(text), s), baud != 0) << text;
        if (baud != 0) {
            EXPECT_EQ(s.baudRate, baud) << text;
        }
    }
    EXPECT_EQ(linkSettingsText(57600), QStringLiteral("57600,n,8,1"));
}

TEST(DevicePath, EnvironmentThenSettingsThenTtyS)
{
    QTemporaryDir dir;
    QtSettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    EXPECT_EQ(devicePathForPort(3, &store), QStringLiteral("/dev/ttyS2"));
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("Ports"), QStringLiteral("COM3"),
                      QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(devicePathForPort(3, &store), QStringLiteral("/dev/ttyUSB0"));
    qputenv("FERROX_COM3", "/tmp/board");
    EXPECT_EQ(devicePathForPort(3, &store), QStringLiteral("/tmp/board"));
    qunsetenv("FERROX_COM3");
}

TEST(QtSerialPort, FailsWithoutADeviceOrOnceClosed)
{
    QtSerialPort missing([](int) { return QStringLiteral("/nonexistent/ferrox-port"); });
    EXPECT_FALSE(missing.open());
    EXPECT_NE(missing.lastError(), 0);

    test::BoardProcess board;
    FERROX_START_BOARD(board);
    QtSerialPort port([&](int) { return board.linkPath(); });
    ASSERT_TRUE(port.setSettings(QStringLiteral(" 57600,n,8,1")));
    ASSERT_TRUE(port.open()) << port.lastError();
    port.close();
    EXPECT_FALSE(port.write(QByteArray("E")));
    EXPECT_NE(port.lastError(), 0);
}

// A hang-up is the port's own error event; a reopen that fails afterwards
// says so by its result only, so a handler that reopens on error events
// cannot loop.
TEST(QtSerialPort, ReportsErrorEventsOfAnOpenPortOnlyAndReturnsErrorsOfItsOwnCalls)
{
    test::BoardProcess board(test::words("--hangup-after 0.3"));
    FERROX_START_BOARD(board);
    QtSerialPort port([&](int) { return board.linkPath(); });
    QSignalSpy errors(&port, &SerialPort::lineError);
    ASSERT_TRUE(port.open()) << port.lastError();

    ASSERT_TRUE(errors.wait(3000));
    port.close();
    errors.clear();
    board.process().waitForFinished(3000);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.write(QByteArray("S")));
    EXPECT_NE(port.lastError(), 0);
    QTest::qWait(50);
    EXPECT_EQ(errors.count(), 0);
}

// A stream read in bulk wakes the program a batch at a time, with every
// byte in order; the next exchange's threshold ends the batching.
TEST(QtSerialPort, ArrivalBatchingWakesSeldomAndLosesNothing)
{
    const int master = openMaster();
    ASSERT_GE(master, 0);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));
    QtSerialPort port([&](int) { return slave; });
    ASSERT_TRUE(port.open()) << port.lastError();
    port.setArrivalBatching(true);
    QSignalSpy arrivals(&port, &SerialPort::bytesArrived);
    QByteArray sent;
    QByteArray received;
    QObject::connect(&port, &SerialPort::bytesArrived, [&] { received += port.readAll(); });
    // A byte at a time, as fast as a timer goes: without batching, a
    // wake-up each; with it, one a batch or a tick.
    QElapsedTimer clock;
    clock.start();
    QTimer writer;
    writer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&writer, &QTimer::timeout, [&] {
        const char byte = char(sent.size());
        if (::write(master, &byte, 1) == 1)
            sent += byte;
        if (sent.size() == 400)
            writer.stop();
    });
    writer.start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 400; }, 5000)) << received.size();
    EXPECT_EQ(received, sent);
    const qint64 wakeUps = clock.elapsed() / ArrivalBatching::BatchWaitMs + 400 / ArrivalBatching::BatchBytes + 2;
    EXPECT_LE(arrivals.count(), wakeUps);
    EXPECT_LT(wakeUps, 400) << "the timer wrote too slowly to tell";

    port.setReceiveThreshold(0);
    const int own = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(own, 0);
    termios settings {};
    ASSERT_EQ(::tcgetattr(own, &settings), 0);
    EXPECT_LE(settings.c_cc[VMIN], 1);
    ::close(own);
    port.close();
    ::close(master);
}

// Closing leaves the device at the link's settings, a speed set while the
// port was open included (the connection check sets it after the open):
// putting back what the device had before would garble a last command
// still on its way to the board.
TEST(QtSerialPort, ClosingKeepsTheLinksSettings)
{
    const int master = openMaster();
    ASSERT_GE(master, 0);
    // A slave of our own keeps the settings between the port's opens, as
    // a serial device keeps them; it starts at a fresh device's speed.
    const int keeper = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(keeper, 0);
    termios settings {};
    ASSERT_EQ(::tcgetattr(keeper, &settings), 0);
    ::cfsetspeed(&settings, B9600);
    ASSERT_EQ(::tcsetattr(keeper, TCSANOW, &settings), 0);

    QtSerialPort port([&](int) { return QString::fromLocal8Bit(::ptsname(master)); });
    // Neither the device's speed before the open nor the one it was opened at.
    ASSERT_TRUE(port.setSettings(linkSettingsText(57600)));
    ASSERT_TRUE(port.open()) << port.lastError();
    ASSERT_TRUE(port.setSettings(linkSettingsText(115200)));
    ASSERT_TRUE(port.write(QByteArray("E")));
    port.close();
    ASSERT_EQ(::tcgetattr(keeper, &settings), 0);
    EXPECT_EQ(::cfgetospeed(&settings), B115200);
    ::close(keeper);
    ::close(master);
}
