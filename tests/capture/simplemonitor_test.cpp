#include "capture/simplemonitor.h"
#include "capture/texts.h"

#include "link/linktesting.h"
#include "session/monitorsession.h"

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

// The program around the monitor; what the monitor did to it, in order.
class FakeContext : public SimpleMonitorContext
{
public:
    void setSamplingEnabled(bool on) override { events << (on ? u"timer on"_s : u"timer off"_s); }
    void disableSignalPanel() override { events << u"panel off"_s; }
    void enableSignalPanel() override { events << u"panel on"_s; }
    // A new window starts empty.
    void showWindow() override
    {
        events << u"window"_s;
        lines->clear();
    }
    void closeWindow() override { events << u"no window"_s; }

    QStringList events;
    LiveLines *lines = nullptr;
};

class SimpleMonitorTest : public LinkFixture
{
protected:
    SimpleMonitorTest()
    {
        port.open();
        context.lines = &monitor.lines();
        session.setCheckResults(false, true, u"V1.05"_s);
    }
    // The toolbar button or the menu: TempMonitorCheck, then TP_Monitor;
    // then the start's pauses have passed (however busy the machine).
    void press(bool pressed)
    {
        port.operations.clear();
        context.events.clear();
        monitor.TempMonitorCheck(pressed);
        monitor.TP_Monitor(pressed);
        (void)QTest::qWaitFor([&] { return owner.isFree() || port.written.endsWith('G'); }, 2000);
        QTest::qWait(20);
    }
    // The warning on its own line, then the cells.
    QString settle()
    {
        QTest::qWait(20);
        const LiveLines &lines = monitor.lines();
        return lines.header() + u'\n' + lines.text(lines.firstCell(), lines.endCell());
    }

    MonitorSession session;
    FakeContext context;
    SimpleMonitor monitor{owner, session, context};
};

const QString Warning = CaptureTexts::simpleMonitorWarning() + u'\n';

} // namespace

TEST_F(SimpleMonitorTest, SwitchingOnAndOffHandsPanelAndSamplingOverInOrder)
{
    press(true);
    EXPECT_EQ(context.events, QStringList({u"window"_s, u"panel off"_s, u"timer off"_s, u"panel off"_s}));

    press(false);
    EXPECT_EQ(context.events, QStringList({u"no window"_s, u"panel on"_s, u"panel on"_s, u"timer on"_s}));

    // Without a verified board the panel and sampling stay off.
    session.setCheckResults(true, false, u"V1.05"_s);
    press(true);
    press(false);
    EXPECT_EQ(context.events, QStringList{u"no window"_s});
}

TEST_F(SimpleMonitorTest, DuringACaptureTheSwitchOnlyOpensAndClosesTheWindowWhichTheCaptureFeeds)
{
    session.capture().beginStart();
    press(true);
    monitor.feedCapture(QByteArray::fromHex("8491a0bdc3d4"));
    EXPECT_EQ(settle(), Warning + u" 41 0D"_s);
    press(false);
    EXPECT_TRUE(port.operations.isEmpty());
    EXPECT_EQ(context.events, QStringList{u"no window"_s});
}

TEST_F(SimpleMonitorTest, APortErrorEventReopensThePortAndMarksAnOpenWindow)
{
    // Open, then closed with the port gone: reopened both times, marked once.
    for (const bool pressed : {true, false}) {
        press(pressed);
        port.operations.clear();
        port.missingPorts.insert(pressed ? 0 : 1);
        port.raiseLineError(12);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !port.operations.isEmpty(); }, 1000));
        EXPECT_EQ(port.operations, ops("discard|close|open 1"));
        EXPECT_EQ(settle(), Warning + u"[err]"_s);
    }
}
