#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "boardprocess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

using namespace ferrox;

TEST(WaitingCount, ReadsAsSignedSixteenBitAndNeverWrapsBackToPositive)
{
    EXPECT_EQ(std::tuple(SerialPort::toWaitingCount(32767), SerialPort::toWaitingCount(32768), SerialPort::toWaitingCount(65535)),
              std::tuple(32767, -32768, -1));
    EXPECT_LT(SerialPort::toWaitingCount(65536), 0);
}

TEST(LineSettings, ParsesTheProgramsSettingsTexts)
{
    const QList<std::pair<const char *, int>> cases{
        {" 57600,n,8,1", 57600}, {"115200,N,8,1", 115200}, {"fast,n,8,1", 0}, {" 57600,n,8", 0}, {" 57600,x,8,1", 0}};
    for (const auto &[text, baud] : cases) {
        LineSettings s;
        EXPECT_EQ(parseLineSettings(QLatin1String(text), s), baud != 0) << text;
        EXPECT_TRUE(!baud || s.baudRate == baud) << text;
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

TEST(QtSerialPort, FailsWithoutADeviceAndTalksThroughAPseudoTerminal)
{
    QtSerialPort missing([](int) { return QStringLiteral("/nonexistent/ferrox-port"); });
    EXPECT_FALSE(missing.open() || missing.isOpen());
    EXPECT_NE(missing.lastError(), 0);

    test::BoardProcess board;
    FERROX_START_BOARD(board);
    QtSerialPort port([&](int) { return board.linkPath(); });
    ASSERT_TRUE(port.setSettings(QStringLiteral(" 57600,n,8,1")));
    ASSERT_TRUE(port.open()) << port.lastError();
    EXPECT_FALSE(port.cts()); // a pty has no modem lines

    // The signal reply's two bytes reach the receive threshold.
    QSignalSpy arrived(&port, &SerialPort::bytesArrived);
    QSignalSpy notified(&port, &SerialPort::receiveNotification);
    port.setReceiveThreshold(2);
    ASSERT_TRUE(port.write(QByteArray("S")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() >= 2; }, 3000));
    EXPECT_TRUE(notified.count() >= 1 && port.readAll().size() == 2);

    ASSERT_TRUE(port.write(QByteArray("V")));
    ASSERT_TRUE(arrived.wait(3000));
    port.discardInput();
    EXPECT_EQ(port.bytesWaiting(), 0);
    port.close();
    EXPECT_TRUE(!port.write(QByteArray("E")) && port.lastError() != 0);
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
    EXPECT_FALSE(port.open() || port.write(QByteArray("S")));
    EXPECT_NE(port.lastError(), 0);
    QTest::qWait(50);
    EXPECT_EQ(errors.count(), 0);
}
