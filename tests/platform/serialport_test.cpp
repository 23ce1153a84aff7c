#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "support/pty.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;

TEST(WaitingCount, ReadsAsSignedSixteenBitAndNeverWrapsBackToPositive)
{
    EXPECT_EQ(SerialPort::toWaitingCount(0), 0);
    EXPECT_EQ(SerialPort::toWaitingCount(32767), 32767);
    EXPECT_EQ(SerialPort::toWaitingCount(32768), -32768);
    EXPECT_EQ(SerialPort::toWaitingCount(65535), -1);
    EXPECT_LT(SerialPort::toWaitingCount(65536), 0);
    EXPECT_LT(SerialPort::toWaitingCount(1 << 20), 0);
}

TEST(LineSettings, ParsesTheProgramsSettingsTexts)
{
    LineSettings s;
    ASSERT_TRUE(parseLineSettings(QStringLiteral(" 57600,n,8,1"), s));
    EXPECT_EQ(s.baudRate, 57600);
    ASSERT_TRUE(parseLineSettings(QStringLiteral("115200,N,8,1"), s));
    EXPECT_EQ(s.baudRate, 115200);
    EXPECT_FALSE(parseLineSettings(QStringLiteral("fast,n,8,1"), s));
    EXPECT_FALSE(parseLineSettings(QStringLiteral(" 57600,n,8"), s));
    EXPECT_FALSE(parseLineSettings(QStringLiteral(" 57600,x,8,1"), s));
    EXPECT_EQ(linkSettingsText(QStringLiteral(" 57600")), QStringLiteral(" 57600,n,8,1"));
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

TEST(QtSerialPort, TalksThroughAPseudoTerminal)
{
    test::Pty pty;
    if (!pty.isValid())
        GTEST_SKIP() << "no pseudo-terminal can be had here";
    QtSerialPort port([&](int) { return pty.slavePath(); });
    port.setPortNumber(4);
    ASSERT_TRUE(port.setSettings(QStringLiteral(" 57600,n,8,1")));
    ASSERT_TRUE(port.open()) << port.lastError();
    EXPECT_FALSE(port.cts()); // a pty has no modem lines

    ASSERT_TRUE(port.write(QByteArray("V")));
    EXPECT_EQ(pty.read(1, 2000), QByteArray("V"));

    QSignalSpy arrived(&port, &SerialPort::bytesArrived);
    QSignalSpy notified(&port, &SerialPort::receiveNotification);
    port.setReceiveThreshold(2);
    ASSERT_TRUE(pty.write(QByteArray("\xA4\xB1", 2)));
    ASSERT_TRUE(arrived.wait(2000));
    while (port.bytesWaiting() < 2 && arrived.wait(1000)) {
    }
    EXPECT_EQ(port.bytesWaiting(), 2);
    EXPECT_GE(notified.count(), 1);
    EXPECT_EQ(port.readAll(), QByteArray("\xA4\xB1", 2));

    ASSERT_TRUE(pty.write(QByteArray("junk")));
    arrived.wait(500);
    port.discardInput();
    EXPECT_EQ(port.bytesWaiting(), 0);
    port.close();
    EXPECT_FALSE(port.write(QByteArray("E")));
    EXPECT_NE(port.lastError(), 0);
}

TEST(QtSerialPort, MissingDeviceFailsWithAnErrorCode)
{
    QtSerialPort port([](int) { return QStringLiteral("/nonexistent/ferrox-port"); });
    port.setPortNumber(17);
    EXPECT_FALSE(port.open());
    EXPECT_NE(port.lastError(), 0);
    EXPECT_FALSE(port.isOpen());
}
