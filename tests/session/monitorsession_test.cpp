#include "session/monitorsession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace ferrox;

namespace {

// The steps the window and the capture take, one call each.
using Step = std::function<void(MonitorSession &)>;
const Step check = [](MonitorSession &s) { s.setChecking(true); };
const Step measure = [](MonitorSession &s) { s.setMeasuring(true); };
const Step openSimpleMonitor = [](MonitorSession &s) { s.setSimpleMonitorOpen(true); };
const Step begin = &MonitorSession::beginCapture;
const Step stream = &MonitorSession::streamStarted;
const Step stop = &MonitorSession::askStop;
const Step process = &MonitorSession::beginProcessing;
const Step end = &MonitorSession::endCapture;

} // namespace

// What each phase lets the window and the other users of the link do.
TEST(MonitorSessionTest, EachPhaseSaysWhatTheWindowAndTheLinkUsersMayDo)
{
    using enum MonitorPhase;
    // The steps taken; the phase; MonitorBusy (settings locked, a second start refused); the start button
    // (the stop button is its opposite); the capture owns the stream (the simple monitor leaves it alone);
    // a late sample leaves the lamps grey.
    const std::tuple<const char *, QList<Step>, MonitorPhase, bool, bool, bool, bool> rows[] = {
        {"checking", {check}, Checking, false, true, false, false},
        {"measuring", {measure}, Measuring, false, true, false, false},
        {"simple monitor", {openSimpleMonitor}, SimpleMonitor, false, true, false, true},
        {"starting", {begin}, Starting, true, false, true, true},
        {"streaming", {begin, stream}, Streaming, true, false, true, true},
        {"stopping", {begin, stream, stop}, Stopping, true, true, true, true},
        {"stopped during the setup", {begin, stop, stream}, Stopping, true, true, true, true},
        // Ended by the board: the start button stays disabled until the end.
        {"processing", {begin, stream, process}, Processing, true, false, false, true},
        {"processing after a stop", {begin, stream, stop, process}, Processing, true, true, false, true},
        {"over", {begin, stream, process, end}, Idle, false, true, false, false},
    };
    for (const auto &[name, steps, phase, busy, startEnabled, holdsLink, lampsGreyed] : rows) {
        SCOPED_TRACE(name);
        MonitorSession session;
        for (const Step &step : steps)
            step(session);
        EXPECT_EQ(session.phase(), phase);
        EXPECT_EQ(session.MonitorBusy(), busy);
        EXPECT_EQ(session.startEnabled(), startEnabled);
        EXPECT_EQ(session.captureHoldsLink(), holdsLink);
        EXPECT_EQ(session.lampsGreyed(), lampsGreyed);
    }
}

// Steps out of their turn change nothing and say nothing: a stop, a stream
// or processing with no capture; a second start, also once the stop was
// asked for and the start button is enabled again (the menu item is).
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
    EXPECT_EQ(changed.count(), 1);

    session.streamStarted();
    ASSERT_TRUE(session.askStop());
    ASSERT_TRUE(session.startEnabled());
    changed.clear();
    EXPECT_FALSE(session.beginCapture());
    EXPECT_EQ(session.phase(), MonitorPhase::Stopping);
    EXPECT_EQ(changed.count(), 0);
}
