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
const Step prepare = [](MonitorSession &s) { s.capture().prepare(); };
const Step begin = [](MonitorSession &s) { s.capture().beginStart(); };
const Step stream = [](MonitorSession &s) { s.capture().setStreaming(); };
const Step stop = [](MonitorSession &s) { s.capture().askStop(); };
const Step streamOver = [](MonitorSession &s) { s.capture().endStream(); };
const Step process = [](MonitorSession &s) { s.capture().beginProcessing(); };
const Step end = [](MonitorSession &s) { s.capture().finish(); };

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
        {"starting", {prepare, begin}, Starting, true, false, true, true},
        {"streaming", {begin, stream}, Streaming, true, false, true, true},
        {"stopping", {begin, stream, stop}, Stopping, true, true, true, true},
        {"stopped while preparing", {prepare, stop, begin, stream}, Stopping, true, true, true, true},
        {"stream over, board not yet quiet", {begin, stream, streamOver}, Streaming, true, false, true, true},
        // Ended by the board: the start button stays disabled until the end.
        {"processing", {begin, stream, streamOver, process}, Processing, true, false, false, true},
        {"processing after a stop", {begin, stream, stop, streamOver, process}, Processing, true, true, false, true},
        {"over", {begin, stream, streamOver, process, end}, Idle, false, true, false, false},
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
    CapturePhase &capture = session.capture();
    EXPECT_FALSE(capture.askStop());
    capture.setStreaming();
    capture.endStream();
    capture.beginProcessing();
    EXPECT_EQ(changed.count(), 0);

    ASSERT_TRUE(capture.beginStart());
    EXPECT_FALSE(capture.beginStart());
    EXPECT_EQ(changed.count(), 1);

    capture.setStreaming();
    ASSERT_TRUE(capture.askStop());
    ASSERT_TRUE(session.startEnabled());
    changed.clear();
    EXPECT_FALSE(capture.prepare());
    EXPECT_FALSE(capture.beginStart());
    EXPECT_EQ(session.phase(), MonitorPhase::Stopping);
    EXPECT_EQ(changed.count(), 0);
}
