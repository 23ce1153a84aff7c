#include "capture/simplemonitor.h"
#include "capture/texts.h"

#include "link/linkowner.h"
#include "link/linktesting.h"

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

class FakeContext : public SimpleMonitorContext
{
public:
    QString firmwareVersion() const override { return QStringLiteral("V1.05"); }
    QString monitorSpeedText() const override { return QStringLiteral("  9600"); }
    QString directionText() const override { return QStringLiteral("双方向"); }
    LiveDisplay liveDisplay() const override { return display; }
    bool startEnabled() const override { return !capturing; }
    bool boardVerified() const override { return verified; }
    void setSamplingEnabled(bool enabled) override { events << (enabled ? u"timer on"_s : u"timer off"_s); }
    void disableSignalPanel() override { events << u"panel off"_s; }
    void enableSignalPanel() override { events << u"panel on"_s; }
    bool SimpleMonitorOpen() const override { return open; }
    void setSimpleMonitorOpen(bool value) override { open = value; }
    void showWindow() override { events << u"window"_s, appender->clear(); }
    void closeWindow() override { events << u"no window"_s; }

    LiveDisplay display = LiveDisplay::Hex;
    bool capturing = false;
    bool verified = true;
    bool open = false;
    QStringList events;
    LiveTextAppender *appender = nullptr; // a new window starts empty
};

class SimpleMonitorTest : public ::testing::Test
{
protected:
    SimpleMonitorTest()
    {
        port.open();
        context.appender = &monitor.appender();
        QObject::connect(&monitor.appender(), &LiveTextAppender::batchReady,
                         [this](const QString &text, qsizetype drop) { shown.remove(0, drop), shown += text; });
    }
    // The toolbar button or the menu: TempMonitorCheck, then TP_Monitor.
    void press(bool pressed)
    {
        monitor.TempMonitorCheck(pressed);
        monitor.TP_Monitor(pressed);
    }
    QString settle()
    {
        QTest::qWait(30);
        monitor.appender().flush();
        return shown;
    }

    FakeSerialPort port;
    LinkOwner owner{port};
    FakeContext context;
    SimpleMonitor monitor{owner, context};
    QString shown;
};

const QString Warning = CaptureTexts::simpleMonitorWarning() + u'\n';

} // namespace

TEST_F(SimpleMonitorTest, SwitchingOnAndOffSendsTheStreamCommandsInOrder)
{
    port.operations.clear();
    press(true);
    EXPECT_TRUE(context.open);
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.operations.endsWith(u"discard"_s) && port.operations.size() > 3; }, 1000));
    // Speed '4' ("  9600" on V1.05), threshold 2, direction 'G'; no CMD_MODE, no CMD_VERSION.
    EXPECT_EQ(port.operations, ops("discard|write 34|threshold 2|write 47|discard"));
    EXPECT_EQ(context.events, QStringList({u"window"_s, u"panel off"_s, u"timer off"_s, u"panel off"_s}));
    EXPECT_EQ(owner.holder(), LinkUse::SimpleMonitor);

    port.operations.clear();
    context.events.clear();
    press(false);
    EXPECT_FALSE(context.open);
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 45"));
    EXPECT_EQ(context.events, QStringList({u"no window"_s, u"panel on"_s, u"panel on"_s, u"timer on"_s}));

    // Without a verified board the panel and sampling stay off.
    context.verified = false;
    press(true);
    QTest::qWait(40);
    context.events.clear();
    press(false);
    EXPECT_EQ(context.events, QStringList{u"no window"_s});
}

TEST_F(SimpleMonitorTest, DuringACaptureTheSwitchOnlyOpensAndClosesTheWindow)
{
    context.capturing = true;
    port.operations.clear();
    press(true);
    EXPECT_TRUE(context.open);
    monitor.feedCapture(QByteArray::fromHex("8491a0bdc3d4"));
    EXPECT_EQ(settle(), Warning + u" 41 0D"_s);
    press(false);
    EXPECT_FALSE(context.open);
    QTest::qWait(40);
    EXPECT_TRUE(port.operations.isEmpty());
    EXPECT_EQ(context.events,
              QStringList({u"window"_s, u"panel off"_s, u"timer off"_s, u"panel off"_s, u"no window"_s}));
}

TEST_F(SimpleMonitorTest, TheStreamIsShownAfterAOneTimeWarningInTheChosenDisplay)
{
    press(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.receiveThreshold() == 2 && port.operations.endsWith(u"discard"_s); }, 1000));
    // A low nibble first combines with 0; every tag is decoded.
    port.deliver(QByteArray::fromHex("b184"));
    port.deliver(QByteArray::fromHex("91a0dd"));
    EXPECT_EQ(settle(), Warning + u" 01 41 0D"_s);

    context.display = LiveDisplay::Text;
    port.deliver(QByteArray::fromHex("8491a0bd"));
    EXPECT_EQ(settle(), Warning + u" 01 41 0DA[CR_]"_s);

    // The window's text goes with it; the warning is never shown again.
    press(false);
    shown.clear();
    press(true);
    QTest::qWait(40);
    port.deliver(QByteArray::fromHex("8491"));
    EXPECT_EQ(settle(), u"A"_s);
}

TEST_F(SimpleMonitorTest, TheCloseBoxSwitchesTheMonitorOff)
{
    press(true);
    QTest::qWait(40);
    port.operations.clear();
    monitor.windowClosed();
    EXPECT_FALSE(context.open);
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 45"));
}

TEST_F(SimpleMonitorTest, APortErrorEventReopensThePortAndMarksTheWindow)
{
    press(true);
    QTest::qWait(40);
    port.operations.clear();
    port.raiseLineError(12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.operations.isEmpty(); }, 1000));
    EXPECT_EQ(port.operations, ops("discard|close|open 1"));
    EXPECT_EQ(settle(), Warning + u"[err]"_s);

    // With the window closed the port is reopened all the same, silently.
    press(false);
    QTest::qWait(40);
    port.operations.clear();
    port.missingPorts.insert(1);
    port.raiseLineError(12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.operations.isEmpty(); }, 1000));
    EXPECT_EQ(port.operations, ops("discard|close|open 1"));
    EXPECT_EQ(settle(), Warning + u"[err]"_s);
}
