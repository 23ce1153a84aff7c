// The exchanges on the wire: exactly the listed port operations and bytes,
// in order, for every numbered exchange, and how each ends on bad answers.
#include "link/consolecheck.h"
#include "link/linkowner.h"
#include "linktesting.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class Exchanges : public testing::Test
{
protected:
    // The port as a good check leaves it: open, log cleared.
    void openPort()
    {
        port.open();
        port.operations.clear();
    }

    std::optional<CheckOutcome> check(const CheckRequest &request = {})
    {
        return await<CheckOutcome>([&](auto done) {
            owner.request(LinkUse::Check, [this, request, done] {
                owner.checkLink(request, {{}, {}, [this, done](const CheckOutcome &o) {
                                              done(o);
                                              owner.release(LinkUse::Check);
                                          }});
            });
        });
    }
    std::optional<CaptureStartOutcome> start(const char *firmware, const char *speed, const char *direction,
                                             DataWidth width = DataWidth::DataOnly)
    {
        const CaptureStartRequest request{QLatin1String(firmware), QLatin1String(speed),
                                          QString::fromUtf8(direction), width};
        return await<CaptureStartOutcome>([&](auto done) { owner.startCapture(request, done); });
    }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
};

TEST_F(Exchanges, CheckPortFailuresEndBeforeTheQuery)
{
    port.missingPorts.insert(4);
    EXPECT_EQ(check({QStringLiteral("COM4")})->errorCode, 1);
    EXPECT_EQ(port.operations, ops("port 4|open 4"));
    // A name no port can have fails before the port is touched.
    port.operations.clear();
    EXPECT_EQ(check({QStringLiteral("COM0")})->errorCode, InvalidPortError);
    EXPECT_TRUE(port.operations.isEmpty());
    // A query that cannot be written is a port failure too.
    port.failWrites = true;
    const auto outcome = check();
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 7);
}

TEST_F(Exchanges, CheckEndsAtOnceWhenThePortVanishesWhileItWaits)
{
    QObject::connect(&port, &FakeSerialPort::bytesWritten, &port, [this] { port.raiseLineError(9); });
    QElapsedTimer clock;
    clock.start();
    const auto outcome = check();
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 9);
    EXPECT_LT(clock.elapsed(), 900);
}

// The check for programs without a window: what a terminal is told (a
// verified board's lines are the command-line test's).
TEST_F(Exchanges, ConsoleCheckTellsAMissingPortWithLinesEndedByLF)
{
    port.missingPorts.insert(1);
    bool heldDuringDone = false;
    const auto result = await<ConsoleCheckResult>([&](auto done) {
        runConsoleCheck(owner, {}, QStringLiteral("/dev/ttyUSB0"), [&, done](const ConsoleCheckResult &r) {
            heldDuringDone = owner.holder() == LinkUse::Check;
            owner.release(LinkUse::Check);
            done(r);
        });
    });
    ASSERT_TRUE(result);
    EXPECT_TRUE(heldDuringDone && !result->verified);
    EXPECT_EQ(result->text, QStringLiteral("/dev/ttyUSB0 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1\n"));
}

// Each firmware's start: speed, width (V1.05 only), version, direction.
TEST_F(Exchanges, CaptureStartSendsSpeedWidthVersionAndDirectionInOrder)
{
    const struct
    {
        const char *firmware, *speed, *direction;
        bool portOpen; // a closed port is opened first
        const char *wire;
    } cases[] = {
        {"V1.05", "  9600", "双方向", true, "discard|threshold 0|write 34|discard|write 44|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 47"},
        {"V1.04", " 57600", "J1←J2", true, "discard|threshold 0|write 39|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 41"},
        {"V1.01", "  4800", "双方向", false, "discard|threshold 0|open 1|write 30|threshold 0|discard|discard|write 56|read 25|threshold 0|discard|write 47"},
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
        EXPECT_EQ(owner.holder(), LinkUse::Capture);
        owner.endCapture();
    }
}

TEST_F(Exchanges, CaptureStartFailuresReleaseTheLink)
{
    port.missingPorts.insert(1);
    const auto outcome = start("V1.05", "  9600", "双方向");
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
    EXPECT_EQ(owner.holder(), LinkUse::None);
    // Texts without a byte send nothing at all.
    port.missingPorts.clear();
    openPort();
    EXPECT_EQ(start("V1.01", " 14400", "双方向")->status, CaptureStartOutcome::Status::UnsupportedSpeed);
    EXPECT_EQ(start("V1.05", "  9600", "両方向")->status, CaptureStartOutcome::Status::UnsupportedDirection);
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Exchanges, CaptureStopUserLeavesTheStreamForcedDiscards)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_EQ(start("V1.05", "  9600", "双方向")->status, CaptureStartOutcome::Status::Streaming);
    std::optional<bool> written;
    const auto stop = [&](LinkOwner::StopReason reason) {
        port.operations.clear();
        written.reset();
        owner.stopCapture(reason, [&](bool w) { written = w; });
    };
    stop(LinkOwner::StopReason::User);
    EXPECT_EQ(written, std::optional<bool>(true));
    EXPECT_EQ(port.operations, ops("write 45"));
    stop(LinkOwner::StopReason::Forced);
    EXPECT_EQ(port.operations, ops("discard|write 45"));
    port.failWrites = true;
    stop(LinkOwner::StopReason::User);
    EXPECT_EQ(written, std::optional<bool>(false));
    EXPECT_EQ(owner.holder(), LinkUse::Capture);
}

TEST_F(Exchanges, SimpleMonitorStartAndStop)
{
    // The second row: no byte for a text no table knows; the rest goes on.
    for (const auto &[firmware, speed, direction, wire] :
         {std::tuple{"V1.05", "  9600", "J1→J2", "discard|write 34|threshold 2|write 42|discard"},
          std::tuple{"V1.01", " 14400", "J1←J2", "discard|threshold 2|write 41|discard"}}) {
        SCOPED_TRACE(wire);
        openPort();
        owner.startSimpleMonitor({QLatin1String(firmware), QLatin1String(speed), QString::fromUtf8(direction)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return port.operations.size() == ops(wire).size(); }, 1000));
        QTest::qWait(20);
        EXPECT_EQ(port.operations, ops(wire));
        EXPECT_EQ(owner.holder(), LinkUse::SimpleMonitor);
    }
    port.operations.clear();
    owner.stopSimpleMonitor();
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 45"));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Exchanges, SignalSampleTakesTheFirstByteOrFails)
{
    board.answer(CMD_SIGNALS, {QByteArray("\x7F"), QByteArray("\x00\x11", 2)});
    const auto sample = [&] {
        return await<SampleOutcome>([&](auto done) { owner.sampleSignals(done); });
    };
    auto outcome = sample();
    EXPECT_EQ(outcome->status, SampleOutcome::Status::Sampled);
    EXPECT_EQ(outcome->stateByte, 0x7F);
    EXPECT_EQ(port.operations, ops("open 1|threshold 0|discard|write 53|read 3"));
    EXPECT_EQ(owner.holder(), LinkUse::None);

    board.answer(CMD_SIGNALS, {QByteArray("\x7F")});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sample()->status, SampleOutcome::Status::NoAnswer);
    EXPECT_GE(clock.elapsed(), 1000);

    port.close();
    port.missingPorts.insert(1);
    outcome = sample();
    EXPECT_EQ(outcome->status, SampleOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
}

TEST_F(Exchanges, MeasurementWaitsWithoutLimitReportsProgressAndTakesAnOverrun)
{
    openPort();
    const QByteArray records = QByteArray("\x10\x02", 2).repeated(60);
    board.answer(CMD_MEASURE, {records.left(37), records.mid(37, 40), records.mid(77)});
    QList<qint16> progress;
    const auto outcome = await<MeasurementOutcome>(
        [&](auto done) { owner.startMeasurement([&](qint16 n) { progress << n; }, done); });
    EXPECT_EQ(outcome->status, MeasurementOutcome::Status::Measured);
    EXPECT_EQ(outcome->records, records);
    EXPECT_EQ(progress, (QList<qint16>{0, 37, 77}));
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 4d|read 120|discard|write 45"));

    // More than 32767 waiting bytes read as a negative count: plenty, not too few.
    board.answer(CMD_MEASURE, {QByteArray(40000, '\x01')});
    const auto overrun = await<MeasurementOutcome>([&](auto done) { owner.startMeasurement({}, done); });
    EXPECT_EQ(overrun->records.size(), 40000);

    // Too few records wait without limit until the user stops.
    board.answer(CMD_MEASURE, {QByteArray(37, '\x01')});
    port.operations.clear();
    std::optional<MeasurementOutcome> stopped;
    owner.startMeasurement({}, [&](const MeasurementOutcome &o) { stopped = o; });
    QTest::qWait(100);
    EXPECT_FALSE(stopped);
    owner.stopMeasurement();
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->status, MeasurementOutcome::Status::Stopped);
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 4d|discard|write 45"));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

} // namespace
