#include "session/monitorsession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace ferrox;

namespace {

using Steps = std::function<void(MonitorSession &)>;

struct PhaseRow
{
    const char *name;
    Steps steps;
    MonitorPhase phase;
    bool busy;         // MonitorBusy: settings locked, a second start refused
    bool startEnabled; // the start button; the stop button is its opposite
    bool holdsLink;    // the capture owns the stream: the simple monitor leaves it alone
    bool lampsGreyed;  // a late sample leaves the lamps grey
};

void capture(MonitorSession &s) { s.beginCapture(), s.streamStarted(); }

} // namespace

// What each phase lets the window and the other users of the link do.
TEST(MonitorSessionTest, EachPhaseSaysWhatTheWindowAndTheLinkUsersMayDo)
{
    const PhaseRow rows[] = {
        {"idle", [](MonitorSession &) {}, MonitorPhase::Idle, false, true, false, false},
        {"checking", [](MonitorSession &s) { s.setChecking(true); }, MonitorPhase::Checking, false, true, false, false},
        {"measuring", [](MonitorSession &s) { s.setMeasuring(true); }, MonitorPhase::Measuring, false, true, false, false},
        {"simple monitor", [](MonitorSession &s) { s.setSimpleMonitorOpen(true); }, MonitorPhase::SimpleMonitor, false,
         true, false, true},
        {"starting", [](MonitorSession &s) { s.beginCapture(); }, MonitorPhase::Starting, true, false, true, true},
        {"starting beside the simple monitor",
         [](MonitorSession &s) { s.setSimpleMonitorOpen(true), s.beginCapture(); }, MonitorPhase::Starting, true, false,
         true, true},
        {"streaming", capture, MonitorPhase::Streaming, true, false, true, true},
        {"stopping", [](MonitorSession &s) { capture(s), s.askStop(); }, MonitorPhase::Stopping, true, true, true, true},
        {"stopped during the setup", [](MonitorSession &s) { s.beginCapture(), s.askStop(), s.streamStarted(); },
         MonitorPhase::Stopping, true, true, true, true},
        // Ended by the board: the start button stays disabled until the end.
        {"processing", [](MonitorSession &s) { capture(s), s.beginProcessing(); }, MonitorPhase::Processing, true,
         false, false, true},
        {"processing after a stop", [](MonitorSession &s) { capture(s), s.askStop(), s.beginProcessing(); },
         MonitorPhase::Processing, true, true, false, true},
        {"over", [](MonitorSession &s) { capture(s), s.beginProcessing(), s.endCapture(); }, MonitorPhase::Idle, false,
         true, false, false},
        {"failed start", [](MonitorSession &s) { s.beginCapture(), s.endCapture(); }, MonitorPhase::Idle, false, true,
         false, false},
    };
    for (const PhaseRow &row : rows) {
        SCOPED_TRACE(row.name);
        MonitorSession session;
        row.steps(session);
        EXPECT_EQ(session.phase(), row.phase);
        EXPECT_EQ(session.MonitorBusy(), row.busy);
        EXPECT_EQ(session.startEnabled(), row.startEnabled);
        EXPECT_EQ(session.captureHoldsLink(), row.holdsLink);
        EXPECT_EQ(session.lampsGreyed(), row.lampsGreyed);
    }
}

// Steps out of their turn change nothing and say nothing: a second start,
// a second stop, a stop or a stream with no capture, processing before a
// start.
TEST(MonitorSessionTest, StepsOutOfTurnAreRefusedSilently)
{
    MonitorSession session;
    QSignalSpy changed(&session, &MonitorSession::changed);
    EXPECT_FALSE(session.askStop());
    session.streamStarted();
    session.beginProcessing();
    EXPECT_EQ(changed.count(), 0);

    ASSERT_TRUE(session.beginCapture());
    EXPECT_FALSE(session.beginCapture());
    EXPECT_TRUE(session.askStop());
    EXPECT_FALSE(session.askStop());
    EXPECT_FALSE(session.beginCapture());
    EXPECT_EQ(changed.count(), 2);
}
