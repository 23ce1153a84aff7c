// The exchanges on the wire: exactly the listed port operations and bytes,
// in order, for every numbered exchange, and how each ends on bad answers;
// and the link owner letting one exchange at a time have the port.
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
    void openPort() { port.open(), port.operations.clear(); }

    // A check that holds the link until its end, or with keep until released.
    bool startCheck(std::optional<CheckOutcome> &outcome, bool keep = false, const CheckRequest &request = {})
    {
        return owner.request(LinkUse::Check, [&, keep, request] {
            owner.checkLink(request, {{}, {}, [&, keep](const CheckOutcome &o) {
                outcome = o;
                if (!keep)
                    owner.release(LinkUse::Check);
            }});
        });
    }
    std::optional<CheckOutcome> check(const CheckRequest &request = {})
    {
        std::optional<CheckOutcome> outcome;
        startCheck(outcome, false, request);
        (void)QTest::qWaitFor([&] { return outcome.has_value(); }, 4000);
        return outcome;
    }
    bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 3000); }
    std::optional<CaptureStartOutcome> start(const char *firmware, std::optional<int> speed, std::optional<MonitorDirection> direction,
                                             DataWidth width = DataWidth::DataOnly)
    {
        MonitorSettings settings;
        settings.monitoredSpeed = speed, settings.direction = direction, settings.dataWidth = width;
        const CaptureStartRequest request{QLatin1String(firmware), settings};
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
    EXPECT_TRUE(check({QStringLiteral("COM0")})->errorCode == InvalidPortError && port.operations.isEmpty());
    // A query that cannot be written is a port failure too.
    port.failWrites = true;
    const auto outcome = check();
    EXPECT_EQ(std::pair(outcome->status, outcome->errorCode), std::pair(CheckOutcome::Status::PortFailed, 7));
}

TEST_F(Exchanges, CheckEndsAtOnceWhenThePortVanishesWhileItWaits)
{
    QObject::connect(&port, &FakeSerialPort::bytesWritten, &port, [this] { port.raiseLineError(9); });
    QElapsedTimer clock;
    clock.start();
    const auto outcome = check();
    EXPECT_EQ(std::pair(outcome->status, outcome->errorCode), std::pair(CheckOutcome::Status::PortFailed, 9));
    EXPECT_LT(clock.elapsed(), 900);
}

// The check for programs without a window: what a terminal is told (a
// verified board's lines are the command-line test's).
TEST_F(Exchanges, ConsoleCheckTellsAMissingPortWithLinesEndedByLF)
{
    port.missingPorts.insert(1);
    const auto result = await<ConsoleCheckResult>(
        [&](auto done) { runConsoleCheck(owner, {}, QStringLiteral("/dev/ttyUSB0"), done); });
    ASSERT_TRUE(result && !result->verified);
    EXPECT_EQ(result->text, QStringLiteral("/dev/ttyUSB0 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1\n"));
}

// Each firmware's start: speed, width (V1.05 only), version, direction.
TEST_F(Exchanges, CaptureStartSendsSpeedWidthVersionAndDirectionInOrder)
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
        EXPECT_EQ(std::pair(outcome->status, outcome->reply.size()), std::pair(CaptureStartOutcome::Status::Streaming, qsizetype(25)));
        EXPECT_EQ(port.operations, ops(c.wire));
        EXPECT_EQ(owner.holder(), LinkUse::Capture);
        owner.endCapture();
    }
}

TEST_F(Exchanges, CaptureStartFailuresReleaseTheLink)
{
    port.missingPorts.insert(1);
    const auto outcome = start("V1.05", 9600, MonitorDirection::Both);
    EXPECT_EQ(std::pair(outcome->status, outcome->errorCode), std::pair(CaptureStartOutcome::Status::PortFailed, 1));
    EXPECT_EQ(owner.holder(), LinkUse::None);
    // Choices without a byte send nothing at all.
    port.missingPorts.clear();
    openPort();
    EXPECT_EQ(start("V1.01", 14400, MonitorDirection::Both)->status, CaptureStartOutcome::Status::UnsupportedSpeed);
    EXPECT_EQ(start("V1.05", std::nullopt, MonitorDirection::Both)->status, CaptureStartOutcome::Status::UnsupportedSpeed);
    EXPECT_EQ(start("V1.05", 9600, std::nullopt)->status, CaptureStartOutcome::Status::UnsupportedDirection);
    EXPECT_TRUE(port.written.isEmpty() && owner.holder() == LinkUse::None);
}

TEST_F(Exchanges, CaptureStopUserLeavesTheStreamForcedDiscards)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_EQ(start("V1.05", 9600, MonitorDirection::Both)->status, CaptureStartOutcome::Status::Streaming);
    std::optional<bool> written;
    const auto stop = [&](LinkOwner::StopReason reason) {
        port.operations.clear();
        written.reset();
        owner.stopCapture(reason, [&](bool w) { written = w; });
    };
    stop(LinkOwner::StopReason::User);
    EXPECT_TRUE(written == std::optional<bool>(true) && port.operations == ops("write 45"));
    stop(LinkOwner::StopReason::Forced);
    EXPECT_EQ(port.operations, ops("discard|write 45"));
    port.failWrites = true;
    stop(LinkOwner::StopReason::User);
    EXPECT_TRUE(written == std::optional<bool>(false) && owner.holder() == LinkUse::Capture);
}

TEST_F(Exchanges, SimpleMonitorStartAndStop)
{
    // The second row: no byte for a speed the table lacks; the rest goes on.
    for (const auto &[firmware, speed, direction, wire] :
         {std::tuple{"V1.05", 9600, MonitorDirection::J1ToJ2, "discard|write 34|threshold 2|write 42|discard"},
          std::tuple{"V1.01", 14400, MonitorDirection::J2ToJ1, "discard|threshold 2|write 41|discard"}}) {
        SCOPED_TRACE(wire);
        openPort();
        MonitorSettings settings;
        settings.monitoredSpeed = speed, settings.direction = direction;
        owner.startSimpleMonitor({QLatin1String(firmware), settings});
        ASSERT_TRUE(QTest::qWaitFor([&] { return port.operations.size() == ops(wire).size(); }, 1000));
        QTest::qWait(20);
        EXPECT_TRUE(port.operations == ops(wire) && owner.holder() == LinkUse::SimpleMonitor) << port.operations.join(u'|').toStdString();
    }
    port.operations.clear();
    owner.stopSimpleMonitor();
    EXPECT_TRUE(port.operations == ops("discard|threshold 0|write 45") && owner.holder() == LinkUse::None);
}

TEST_F(Exchanges, SignalSampleTakesTheFirstByteOrFails)
{
    board.answer(CMD_SIGNALS, {QByteArray("\x7F"), QByteArray("\x00\x11", 2)});
    const auto sample = [&] { return await<SampleOutcome>([&](auto done) { owner.sampleSignals(done); }); };
    const auto outcome = sample();
    EXPECT_EQ(std::pair(outcome->status, outcome->stateByte), std::pair(SampleOutcome::Status::Sampled, std::uint8_t(0x7F)));
    EXPECT_TRUE(port.operations == ops("open 1|threshold 0|discard|write 53|read 3") && owner.holder() == LinkUse::None);

    board.answer(CMD_SIGNALS, {QByteArray("\x7F")});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sample()->status, SampleOutcome::Status::NoAnswer);
    EXPECT_GE(clock.elapsed(), 1000);
}

TEST_F(Exchanges, MeasurementWaitsWithoutLimitReportsProgressAndTakesAnOverrun)
{
    openPort();
    const QByteArray records = QByteArray("\x10\x02", 2).repeated(60);
    board.answer(CMD_MEASURE, {records.left(37), records.mid(37, 40), records.mid(77)});
    QList<qint16> progress;
    const auto outcome = await<MeasurementOutcome>(
        [&](auto done) { owner.startMeasurement([&](qint16 n) { progress << n; }, done); });
    EXPECT_EQ(std::pair(outcome->status, outcome->records), std::pair(MeasurementOutcome::Status::Measured, records));
    EXPECT_EQ(progress, (QList<qint16>{0, 37, 77}));
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 4d|read 120|discard|write 45"));

    // More than 32767 waiting bytes read as a negative count: plenty, not too few.
    board.answer(CMD_MEASURE, {QByteArray(40000, '\x01')});
    EXPECT_EQ(await<MeasurementOutcome>([&](auto done) { owner.startMeasurement({}, done); })->records.size(), 40000);

    // Too few records wait without limit until the user stops.
    board.answer(CMD_MEASURE, {QByteArray(37, '\x01')});
    port.operations.clear();
    std::optional<MeasurementOutcome> stopped;
    owner.startMeasurement({}, [&](const MeasurementOutcome &o) { stopped = o; });
    QTest::qWait(100);
    EXPECT_FALSE(stopped);
    owner.stopMeasurement();
    ASSERT_TRUE(stopped && stopped->status == MeasurementOutcome::Status::Stopped);
    EXPECT_TRUE(port.operations == ops("discard|threshold 0|write 4d|discard|write 45") && owner.holder() == LinkUse::None);
}

// The default settings: 9600 bits per second, both directions.
const SimpleMonitorRequest kMonitor{QStringLiteral("V1.05"), MonitorSettings{}};
const CaptureStartRequest kCapture{QStringLiteral("V1.05"), MonitorSettings{}};

// One exchange at a time: who waits, who is skipped, who is refused, and
// that no exchange reads another's reply.
class Arbitration : public Exchanges
{
protected:
    Arbitration()
    {
        openPort();
        board.answer(CMD_VERSION, {versionReply("V1.05")});
        board.answer(CMD_SIGNALS, {QByteArray("\x12\x00", 2)});
    }
};

TEST_F(Arbitration, WhileACheckWaitsASampleIsSkippedAndASecondCheckRefused)
{
    std::optional<CheckOutcome> first, second;
    ASSERT_TRUE(startCheck(first));
    EXPECT_TRUE(owner.checkPending());
    bool sampled = false;
    EXPECT_FALSE(owner.sampleSignals([&](const SampleOutcome &) { sampled = true; }));
    EXPECT_FALSE(startCheck(second));
    ASSERT_TRUE(waitFor([&] { return first.has_value(); }));
    QTest::qWait(50);
    // The one query, the one reply, read by the first check.
    EXPECT_TRUE(port.written == "V" && first->status == CheckOutcome::Status::Verified);
    EXPECT_FALSE(second || sampled || owner.checkPending());
}

TEST_F(Arbitration, RequestsFindingACheckAreHeldUntilItReleases)
{
    std::optional<CheckOutcome> check;
    ASSERT_TRUE(startCheck(check, true));
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
    EXPECT_TRUE(capture->status == CaptureStartOutcome::Status::Streaming && port.written == "V4dVG");
    // The measurement and simple monitor wait for the capture's end, in order.
    QTest::qWait(50);
    EXPECT_EQ(owner.holder(), LinkUse::Capture);
    owner.endCapture();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('M'); }));
    owner.stopMeasurement();
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith("ME4G"); }));
    EXPECT_TRUE(measured && owner.holder() == LinkUse::SimpleMonitor);
}

TEST_F(Arbitration, TheSimpleMonitorStreamGivesWayToACheck)
{
    owner.startSimpleMonitor(kMonitor);
    ASSERT_TRUE(waitFor([&] { return owner.holder() == LinkUse::SimpleMonitor && port.written == "4G"; }));
    QTest::qWait(30); // the start's last step

    std::optional<CheckOutcome> check;
    ASSERT_TRUE(startCheck(check) && owner.holder() == LinkUse::Check);
    ASSERT_TRUE(waitFor([&] { return check.has_value(); }));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Arbitration, AStopDuringTheSimpleMonitorStartWaitsForItsEnd)
{
    owner.startSimpleMonitor(kMonitor);
    // Mid-start (paused after the speed byte) a stop must not slip in between.
    owner.stopSimpleMonitor();
    EXPECT_EQ(port.written, "4");
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
    EXPECT_TRUE(port.operations == ops("write 45|close") && owner.holder() == LinkUse::None);
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
