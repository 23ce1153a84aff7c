// One exchange at a time: who waits, who is skipped, who is refused, and
// that no exchange reads another's reply.
#include "link/linkowner.h"
#include "linktesting.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const SimpleMonitorRequest kMonitor{QStringLiteral("V1.05"), QStringLiteral("  9600"), QStringLiteral("双方向")};
const CaptureStartRequest kCapture{QStringLiteral("V1.05"), QStringLiteral("  9600"), QStringLiteral("双方向")};

class Arbitration : public testing::Test
{
protected:
    Arbitration()
    {
        port.open();
        port.operations.clear();
        board.answer(CMD_VERSION, {versionReply("V1.05")});
        board.answer(CMD_SIGNALS, {QByteArray("\x12\x00", 2)});
    }

    // A check that holds the link, until its end or until it is released.
    bool startCheck(std::optional<CheckOutcome> &outcome, bool releaseWhenDone = true)
    {
        return owner.request(LinkUse::Check, [&, releaseWhenDone] {
            owner.checkLink({}, {{}, {}, [&, releaseWhenDone](const CheckOutcome &o) {
                                     outcome = o;
                                     if (releaseWhenDone)
                                         owner.release(LinkUse::Check);
                                 }});
        });
    }
    bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 3000); }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
};

TEST_F(Arbitration, WhileACheckWaitsASampleIsSkippedAndASecondCheckRefused)
{
    std::optional<CheckOutcome> first;
    std::optional<CheckOutcome> second;
    ASSERT_TRUE(startCheck(first));
    EXPECT_TRUE(owner.checkPending());
    bool sampled = false;
    EXPECT_FALSE(owner.sampleSignals([&](const SampleOutcome &) { sampled = true; }));
    EXPECT_FALSE(startCheck(second));
    ASSERT_TRUE(waitFor([&] { return first.has_value(); }));
    QTest::qWait(50);
    // The one query, the one reply, read by the first check.
    EXPECT_EQ(port.written, QByteArray("V"));
    EXPECT_EQ(first->status, CheckOutcome::Status::Verified);
    EXPECT_FALSE(second || sampled || owner.checkPending());
}

TEST_F(Arbitration, RequestsFindingACheckAreHeldUntilItReleases)
{
    std::optional<CheckOutcome> check;
    ASSERT_TRUE(startCheck(check, false));
    std::optional<CaptureStartOutcome> capture;
    bool measured = false;
    owner.startCapture(kCapture, [&](const CaptureStartOutcome &o) { capture = o; });
    owner.startMeasurement({}, [&](const MeasurementOutcome &) { measured = true; });
    owner.startSimpleMonitor(kMonitor);
    ASSERT_TRUE(waitFor([&] { return check.has_value(); }));
    // The check keeps the link after its reply until it releases it.
    QTest::qWait(50);
    EXPECT_EQ(port.written, QByteArray("V"));

    owner.release(LinkUse::Check);
    ASSERT_TRUE(waitFor([&] { return capture.has_value(); }));
    EXPECT_EQ(capture->status, CaptureStartOutcome::Status::Streaming);
    EXPECT_EQ(port.written, QByteArray("V4dVG"));
    // The measurement and simple monitor wait for the capture's end, in order.
    QTest::qWait(50);
    EXPECT_EQ(owner.holder(), LinkUse::Capture);
    owner.endCapture();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('M'); }));
    owner.stopMeasurement();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith("ME4G"); }));
    EXPECT_TRUE(measured && owner.holder() == LinkUse::SimpleMonitor);
}

TEST_F(Arbitration, TheSimpleMonitorStreamGivesWayToAllButASample)
{
    owner.startSimpleMonitor(kMonitor);
    ASSERT_TRUE(waitFor([&] { return owner.holder() == LinkUse::SimpleMonitor && port.written == "4G"; }));
    QTest::qWait(30);
    EXPECT_FALSE(owner.sampleSignals([](const SampleOutcome &) {}));

    std::optional<CheckOutcome> check;
    ASSERT_TRUE(startCheck(check));
    EXPECT_EQ(owner.holder(), LinkUse::Check);
    ASSERT_TRUE(waitFor([&] { return check.has_value(); }));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Arbitration, AStopDuringTheSimpleMonitorStartWaitsForItsEnd)
{
    owner.startSimpleMonitor(kMonitor);
    // Mid-start (paused after the speed byte) a stop must not slip in between.
    owner.stopSimpleMonitor();
    EXPECT_EQ(port.written, QByteArray("4"));
    ASSERT_TRUE(waitFor([&] { return owner.holder() == LinkUse::None; }));
    EXPECT_EQ(port.written, QByteArray("4GE"));
}

TEST_F(Arbitration, StopOutsideACaptureStillReachesTheBoard)
{
    bool written = false;
    owner.stopCapture(LinkOwner::StopReason::User, [&](bool w) { written = w; });
    EXPECT_TRUE(written && port.written == "E" && owner.holder() == LinkUse::None);
}

TEST_F(Arbitration, AStartWaitingItsTurnLeavesTheRunningUsesStopAlone)
{
    // A capture streams; a second start waits. The user's stop goes out now.
    owner.startCapture(kCapture, [](const CaptureStartOutcome &) {});
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('G'); }));
    owner.startCapture(kCapture, [](const CaptureStartOutcome &) {});
    owner.stopCapture(LinkOwner::StopReason::User, [](bool) {});
    EXPECT_EQ(port.written, QByteArray("4dVGE"));
    owner.endCapture();
    ASSERT_TRUE(waitFor([&] { return port.written == "4dVGE4dVG"; }));

    // A measurement runs; a second waits. Stopping the first spares the second.
    owner.endCapture();
    bool secondEnded = false;
    owner.startMeasurement({}, [](const MeasurementOutcome &) {});
    owner.startMeasurement({}, [&](const MeasurementOutcome &) { secondEnded = true; });
    owner.stopMeasurement();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith("MEM"); }));
    QTest::qWait(50);
    EXPECT_FALSE(secondEnded);
}

TEST_F(Arbitration, ShutdownStopsAStreamingBoardAndClosesThePortOnce)
{
    owner.startCapture(kCapture, [](const CaptureStartOutcome &) {});
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('G'); }));
    port.operations.clear();
    owner.shutdown();
    owner.shutdown();
    EXPECT_EQ(port.operations, ops("write 45|close"));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Arbitration, ShutdownWhileACheckWaitsDropsItQuietly)
{
    board.answers.clear();
    std::optional<CheckOutcome> check;
    startCheck(check);
    bool captured = false;
    owner.startCapture({}, [&](const CaptureStartOutcome &) { captured = true; });
    owner.shutdown();
    QTest::qWait(1200);
    EXPECT_FALSE(check || captured || port.isOpen());
}

} // namespace
