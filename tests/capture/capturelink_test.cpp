// The capture's and the simple monitor's exchanges on the wire, and how
// they take turns on the link with a check and with each other.
#include "capture/capturerun.h"
#include "capture/simplemonitorlink.h"
#include "link/linktesting.h"

#include <tuple>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// The default settings: 9600 bits per second, both directions.
const SimpleMonitorRequest kMonitor{QStringLiteral("V1.05"), MonitorSettings{}};
const CaptureStartRequest kCapture{QStringLiteral("V1.05"), MonitorSettings{}};

class CaptureExchanges : public LinkFixture
{
protected:
    std::optional<CaptureStartOutcome> start(const char *firmware, std::optional<int> speed,
                                             std::optional<MonitorDirection> direction,
                                             DataWidth width = DataWidth::DataOnly)
    {
        MonitorSettings settings;
        settings.monitoredSpeed = speed;
        settings.direction = direction;
        settings.dataWidth = width;
        const CaptureStartRequest request{QLatin1String(firmware), settings};
        return await<CaptureStartOutcome>([&](auto done) { capture.start(request, done); });
    }

    CaptureLink capture{owner};
    SimpleMonitorLink monitor{owner};
};

// Each firmware's start: speed, width (V1.05 only), version, direction.
TEST_F(CaptureExchanges, StartSendsSpeedWidthVersionAndDirectionInOrder)
{
    // portOpen: a closed port is opened first.
    const struct { const char *firmware; int speed; MonitorDirection direction; bool portOpen; const char *wire; } cases[] = {
        {"V1.05", 9600, MonitorDirection::Both, true, "discard|threshold 0|write 34|discard|write 44|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 47"},
        {"V1.04", 57600, MonitorDirection::J2ToJ1, true, "discard|threshold 0|write 39|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 41"},
        {"V1.01", 4800, MonitorDirection::Both, false, "discard|threshold 0|open 1|write 30|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 47"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.firmware);
        port.close();
        if (c.portOpen)
            port.open();
        port.operations.clear();
        board.answer(CMD_VERSION, {versionReply(c.firmware, 25)});
        const auto outcome = start(c.firmware, c.speed, c.direction, DataWidth::DataAndParity);
        EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::Streaming);
        EXPECT_EQ(outcome->reply.size(), 25);
        EXPECT_EQ(port.operations, ops(c.wire));
        EXPECT_NE(capture.port(), nullptr);
        capture.release();
    }
}

TEST_F(CaptureExchanges, StartFailuresReleaseTheLink)
{
    port.missingPorts.insert(1);
    const auto outcome = start("V1.05", 9600, MonitorDirection::Both);
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
    EXPECT_TRUE(owner.isFree());
    // Choices without a byte send nothing at all.
    port.missingPorts.clear();
    openPort();
    EXPECT_EQ(start("V1.05", std::nullopt, MonitorDirection::Both)->status, CaptureStartOutcome::Status::UnsupportedSpeed);
    EXPECT_EQ(start("V1.05", 9600, std::nullopt)->status, CaptureStartOutcome::Status::UnsupportedDirection);
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_TRUE(owner.isFree());
}

TEST_F(CaptureExchanges, SimpleMonitorStartAndStop)
{
    // The second row: no byte for a speed the table lacks; the rest goes on.
    // Every byte is read as it arrives, and none that arrives once the
    // reader is armed is discarded.
    for (const auto &[firmware, speed, direction, wire] :
         {std::tuple{"V1.05", 9600, MonitorDirection::J1ToJ2, "discard|write 34|threshold 1|write 42"},
          std::tuple{"V1.01", 14400, MonitorDirection::J2ToJ1, "discard|threshold 1|write 41"}}) {
        SCOPED_TRACE(wire);
        openPort();
        MonitorSettings settings;
        settings.monitoredSpeed = speed;
        settings.direction = direction;
        monitor.start({QLatin1String(firmware), settings});
        ASSERT_TRUE(QTest::qWaitFor([&] { return port.operations.size() == ops(wire).size(); }, 1000));
        QTest::qWait(20);
        EXPECT_EQ(port.operations, ops(wire));
        EXPECT_NE(monitor.port(), nullptr);
    }
    port.operations.clear();
    monitor.stop();
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 45"));
    EXPECT_TRUE(owner.isFree());
}

class CaptureTurns : public CaptureExchanges
{
protected:
    CaptureTurns()
    {
        openPort();
        board.answer(CMD_VERSION, {versionReply("V1.05")});
    }
};

// The user's stop leaves the stream's bytes to the capture, a forced one
// discards them; a stop that cannot be written leaves the capture on; the
// program's close stops the board.
TEST_F(CaptureTurns, StopsAndTheProgramsCloseTellTheBoard)
{
    ASSERT_EQ(start("V1.05", 9600, MonitorDirection::Both)->status, CaptureStartOutcome::Status::Streaming);
    std::optional<bool> written;
    const auto stop = [&](CaptureLink::StopReason reason) {
        port.operations.clear();
        written.reset();
        capture.stop(reason, [&](bool w) { written = w; });
    };
    stop(CaptureLink::StopReason::User);
    EXPECT_EQ(written, std::optional<bool>(true));
    EXPECT_EQ(port.operations, ops("write 45"));
    stop(CaptureLink::StopReason::Forced);
    EXPECT_EQ(port.operations, ops("discard|write 45"));
    port.failWrites = true;
    stop(CaptureLink::StopReason::User);
    EXPECT_EQ(written, std::optional<bool>(false));
    EXPECT_NE(capture.port(), nullptr);

    port.failWrites = false;
    port.operations.clear();
    owner.shutdown();
    EXPECT_EQ(port.operations, ops("write 45|close"));
}

TEST_F(CaptureTurns, AStopDuringTheSimpleMonitorStartWaitsForItsEnd)
{
    monitor.start(kMonitor);
    // Mid-start (paused after the speed byte) a stop must not slip in between.
    monitor.stop();
    EXPECT_EQ(port.written, "4");
    ASSERT_TRUE(waitFor([&] { return owner.isFree(); }));
    EXPECT_EQ(port.written, QByteArray("4GE"));
}

// Asked for (twice) while a check holds the link, the user's stop goes out
// once, right after the start.
TEST_F(CaptureTurns, AStopAskedForBeforeTheStreamFollowsTheStartOnce)
{
    std::optional<CheckOutcome> checked;
    startCheck(checked, true);
    CapturePhase phase;
    CaptureRun run(owner, phase);
    run.start(kCapture);
    run.requestStop();
    run.requestStop();
    ASSERT_TRUE(waitFor([&] { return checked.has_value(); }));
    checkLease.end();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('E'); }));
    QTest::qWait(50);
    EXPECT_EQ(port.written, QByteArray("V4dVGE"));
}

TEST_F(CaptureTurns, StopOutsideACaptureStillReachesTheBoard)
{
    bool written = false;
    capture.stop(CaptureLink::StopReason::User, [&](bool w) { written = w; });
    EXPECT_TRUE(written);
    EXPECT_EQ(port.written, "E");
    EXPECT_TRUE(owner.isFree());
}

} // namespace
