// The exchanges on the wire: exactly the listed port operations and bytes,
// in order, for every numbered exchange, and how each ends on bad answers.
#include "link/linkowner.h"
#include "linktesting.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList ops(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *op : list)
        out << QString::fromLatin1(op);
    return out;
}

class Exchanges : public testing::Test
{
protected:
    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};

    // The port as a good check leaves it: open, log cleared.
    void openPort()
    {
        port.open();
        port.operations.clear();
    }
    template<typename T>
    static bool waitFor(const std::optional<T> &value, int ms = 3000)
    {
        return QTest::qWaitFor([&] { return value.has_value(); }, ms);
    }

    std::optional<CheckOutcome> check(const CheckRequest &request = {})
    {
        std::optional<CheckOutcome> outcome;
        owner.request(LinkUse::Check, [&] {
            CheckCallbacks callbacks;
            callbacks.done = [&](const CheckOutcome &o) {
                outcome = o;
                owner.release(LinkUse::Check);
            };
            owner.checkLink(request, callbacks);
        });
        waitFor(outcome);
        return outcome;
    }
};

// --- connection check -------------------------------------------------

TEST_F(Exchanges, CheckReopensSetsUpAndAsksForTheVersion)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05").left(5), versionReply("V1.05").mid(5, 10),
                               versionReply("V1.05").mid(15)});
    CheckRequest request;
    request.portNumber = 3;
    request.linkSpeedText = QStringLiteral("115200");
    request.rts = true;
    const auto outcome = check(request);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, CheckOutcome::Status::Verified);
    EXPECT_EQ(outcome->reply, versionReply("V1.05"));
    // The reply came in three pieces and was read once, whole.
    EXPECT_EQ(port.operations, ops({"close", "port 3", "open 3", "settings 115200,n,8,1", "threshold 0",
                                    "discard", "rts 1", "dtr 0", "write 56", "read 22"}));
}

TEST_F(Exchanges, CheckOnAClosedPortDoesNotCloseIt)
{
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    CheckRequest request;
    request.dtr = true;
    ASSERT_TRUE(check(request));
    EXPECT_EQ(port.operations, ops({"port 1", "open 1", "settings  57600,n,8,1", "threshold 0", "discard",
                                    "rts 0", "dtr 1", "write 56", "read 22"}));
}

TEST_F(Exchanges, CheckReadsLongRepliesWholeAndJudgesThem)
{
    struct Case
    {
        QByteArray reply;
        CheckOutcome::Status status;
    };
    const QList<Case> cases{
        {versionReply("V1.05", 30), CheckOutcome::Status::Verified},
        {versionReply("V2.00"), CheckOutcome::Status::UnsupportedFirmware},
        {versionReply("V1.05", 22, "Other box"), CheckOutcome::Status::ForeignBoard},
        {QByteArray(40, '\x93'), CheckOutcome::Status::ForeignBoard},
    };
    for (const Case &c : cases) {
        port.operations.clear();
        board.answer(CMD_VERSION, {c.reply});
        const auto outcome = check();
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->status, c.status) << c.reply.toStdString();
        EXPECT_EQ(outcome->reply, c.reply);
        EXPECT_EQ(port.operations.last(), QStringLiteral("read %1").arg(c.reply.size()));
        EXPECT_EQ(port.bytesWaiting(), 0);
    }
}

TEST_F(Exchanges, CheckWithoutAFullReplyGivesUpAfterOneSecond)
{
    for (const QByteArray &partial : {QByteArray(), versionReply("V1.05").left(21)}) {
        port.operations.clear();
        board.answer(CMD_VERSION, {partial.left(10), partial.mid(10)});
        QElapsedTimer clock;
        clock.start();
        std::optional<CheckOutcome> outcome = check();
        ASSERT_TRUE(outcome);
        EXPECT_GE(clock.elapsed(), 1000);
        EXPECT_EQ(outcome->status, CheckOutcome::Status::NoAnswer);
        EXPECT_TRUE(outcome->reply.isEmpty());
        EXPECT_FALSE(port.operations.last().startsWith(QLatin1String("read")));
    }
}

TEST_F(Exchanges, CheckPortFailuresEndBeforeTheQuery)
{
    port.missingPorts.insert(4);
    CheckRequest request;
    request.portNumber = 4;
    auto outcome = check(request);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
    EXPECT_EQ(port.operations, ops({"port 4", "open 4"}));

    // A number no port can have fails before the port is touched.
    port.operations.clear();
    request.portNumber = 0;
    outcome = check(request);
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, InvalidPortError);
    EXPECT_TRUE(port.operations.isEmpty());

    // A query that cannot be written is a port failure too.
    port.failWrites = true;
    outcome = check();
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 7);
}

TEST_F(Exchanges, CheckEndsAtOnceWhenThePortVanishesWhileItWaits)
{
    QObject::connect(&port, &FakeSerialPort::bytesWritten, &port, [this] { port.raiseLineError(9); });
    QElapsedTimer clock;
    clock.start();
    const auto outcome = check();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 9);
    EXPECT_LT(clock.elapsed(), 900);
}

TEST_F(Exchanges, CheckGoesOnWithoutModemLines)
{
    port.failModemLines = true;
    port.ctsLine = true;
    board.answer(CMD_VERSION, {versionReply("V1.03")});
    bool cts = false;
    bool dsr = true;
    std::optional<CheckOutcome> outcome;
    owner.request(LinkUse::Check, [&] {
        owner.checkLink({}, {[&](bool c, bool d) { cts = c, dsr = d; }, {}, [&](const CheckOutcome &o) {
                                 outcome = o;
                             }});
    });
    waitFor(outcome);
    EXPECT_EQ(outcome->status, CheckOutcome::Status::Verified);
    EXPECT_TRUE(cts);
    EXPECT_FALSE(dsr);
}

// --- capture ------------------------------------------------------------

class CaptureExchanges : public Exchanges
{
protected:
    std::optional<CaptureStartOutcome> start(const CaptureStartRequest &request)
    {
        std::optional<CaptureStartOutcome> outcome;
        owner.startCapture(request, [&](const CaptureStartOutcome &o) { outcome = o; });
        waitFor(outcome);
        return outcome;
    }
    static CaptureStartRequest request(const char *firmware, const char *speed, const char *direction,
                                       DataWidth width = DataWidth::DataOnly)
    {
        return {QLatin1String(firmware), QLatin1String(speed), QString::fromUtf8(direction), width};
    }
};

TEST_F(CaptureExchanges, StartSendsSpeedWidthVersionAndDirectionInOrder)
{
    struct Case
    {
        CaptureStartRequest request;
        QStringList wire;
    };
    const QList<Case> cases{
        {request("V1.05", "  9600", "双方向", DataWidth::DataAndParity),
         ops({"discard", "threshold 0", "write 34", "discard", "write 44", "threshold 0", "discard", "discard",
              "write 56", "read 25", "threshold 0", "discard", "write 47"})},
        {request("V1.05", "   600", "J1→J2"),
         ops({"discard", "threshold 0", "write 30", "discard", "write 64", "threshold 0", "discard", "discard",
              "write 56", "read 25", "threshold 0", "discard", "write 42"})},
        // Only V1.05 takes the data width.
        {request("V1.04", " 57600", "J1←J2", DataWidth::DataAndParity),
         ops({"discard", "threshold 0", "write 39", "threshold 0", "discard", "discard", "write 56", "read 25",
              "threshold 0", "discard", "write 41"})},
        {request("V1.02", " 57600", "双方向"),
         ops({"discard", "threshold 0", "write 35", "threshold 0", "discard", "discard", "write 56", "read 25",
              "threshold 0", "discard", "write 47"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.request.firmwareVersion.toStdString());
        openPort();
        board.answer(CMD_VERSION, {versionReply(c.request.firmwareVersion.toLatin1(), 25)});
        const auto outcome = start(c.request);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::Streaming);
        EXPECT_EQ(outcome->reply.size(), 25);
        EXPECT_EQ(port.operations, c.wire);
        EXPECT_EQ(owner.holder(), LinkUse::Capture);
        owner.endCapture();
    }
}

TEST_F(CaptureExchanges, StartPausesAfterTheSpeedByte)
{
    openPort();
    bool done = false;
    owner.startCapture(request("V1.03", "  9600", "双方向"), [&](const CaptureStartOutcome &) { done = true; });
    // Nothing follows the speed byte until the pause is over.
    EXPECT_EQ(port.operations, ops({"discard", "threshold 0", "write 34"}));
    QTest::qWait(3);
    EXPECT_EQ(port.operations.size(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.operations.size() > 3; }, 1000));
    owner.shutdown();
}

TEST_F(CaptureExchanges, StartOpensAClosedPort)
{
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    const auto outcome = start(request("V1.01", "  4800", "双方向"));
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::Streaming);
    EXPECT_EQ(port.operations.mid(0, 4), ops({"discard", "threshold 0", "open 1", "write 30"}));
}

TEST_F(CaptureExchanges, StartFailuresReleaseTheLink)
{
    port.missingPorts.insert(1);
    auto outcome = start(request("V1.05", "  9600", "双方向"));
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
    EXPECT_EQ(owner.holder(), LinkUse::None);

    // Texts without a byte send nothing at all.
    port.missingPorts.clear();
    openPort();
    outcome = start(request("V1.01", " 14400", "双方向"));
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::UnsupportedSpeed);
    outcome = start(request("V1.05", "  9600", "両方向"));
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::UnsupportedDirection);
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(CaptureExchanges, StartWithoutVersionReplyStopsBeforeTheDirection)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05").left(21)});
    QElapsedTimer clock;
    clock.start();
    const auto outcome = start(request("V1.05", "  9600", "双方向"));
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::NoReply);
    EXPECT_EQ(port.written, QByteArray("4dV"));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(CaptureExchanges, UserStopLeavesTheStreamToTheCaptureForcedStopDiscards)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_EQ(start(request("V1.05", "  9600", "双方向"))->status, CaptureStartOutcome::Status::Streaming);
    port.operations.clear();
    std::optional<bool> written;
    owner.stopCapture(LinkOwner::StopReason::User, [&](bool w) { written = w; });
    EXPECT_EQ(written, std::optional<bool>(true));
    EXPECT_EQ(port.operations, ops({"write 45"}));

    port.operations.clear();
    owner.stopCapture(LinkOwner::StopReason::Forced, [&](bool w) { written = w; });
    EXPECT_EQ(port.operations, ops({"discard", "write 45"}));

    port.failWrites = true;
    owner.stopCapture(LinkOwner::StopReason::User, [&](bool w) { written = w; });
    EXPECT_EQ(written, std::optional<bool>(false));
    EXPECT_EQ(owner.holder(), LinkUse::Capture);
}

TEST_F(CaptureExchanges, StopAskedForDuringTheStartFollowsTheDirection)
{
    openPort();
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    std::optional<CaptureStartOutcome> outcome;
    std::optional<bool> written;
    owner.startCapture(request("V1.05", "  9600", "双方向"), [&](const CaptureStartOutcome &o) { outcome = o; });
    owner.stopCapture(LinkOwner::StopReason::User, [&](bool w) { written = w; });
    EXPECT_FALSE(written);
    ASSERT_TRUE(QTest::qWaitFor([&] { return written.has_value(); }, 3000));
    EXPECT_TRUE(*written);
    EXPECT_EQ(outcome->status, CaptureStartOutcome::Status::Streaming);
    EXPECT_EQ(port.written, QByteArray("4dVGE"));
}

// --- simple monitor, signals, measurement -------------------------------

TEST_F(Exchanges, SimpleMonitorStartAndStop)
{
    struct Case
    {
        SimpleMonitorRequest request;
        QStringList wire;
    };
    const QList<Case> cases{
        {{QStringLiteral("V1.05"), QStringLiteral("  9600"), QStringLiteral("J1→J2")},
         ops({"discard", "write 34", "threshold 2", "write 42", "discard"})},
        {{QStringLiteral("V1.01"), QStringLiteral("  9600"), QStringLiteral("双方向")},
         ops({"discard", "write 31", "threshold 2", "write 47", "discard"})},
        // No byte for a text no table knows; the rest goes on.
        {{QStringLiteral("V1.01"), QStringLiteral(" 14400"), QStringLiteral("J1←J2")},
         ops({"discard", "threshold 2", "write 41", "discard"})},
    };
    for (const Case &c : cases) {
        openPort();
        owner.startSimpleMonitor(c.request);
        ASSERT_TRUE(QTest::qWaitFor([&] { return port.operations.size() == c.wire.size(); }, 1000));
        QTest::qWait(20);
        EXPECT_EQ(port.operations, c.wire);
        EXPECT_EQ(owner.holder(), LinkUse::SimpleMonitor);
        // No CMD_MODE and no CMD_VERSION, whatever the firmware.
        EXPECT_FALSE(port.written.contains('V'));
        EXPECT_FALSE(port.written.contains('d'));
    }
    port.operations.clear();
    owner.stopSimpleMonitor();
    EXPECT_EQ(port.operations, ops({"discard", "threshold 0", "write 45"}));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Exchanges, SignalSampleTakesTheFirstByte)
{
    board.answer(CMD_SIGNALS, {QByteArray("\x7F"), QByteArray("\x00\x11", 2)});
    std::optional<SampleOutcome> outcome;
    ASSERT_TRUE(owner.sampleSignals([&](const SampleOutcome &o) { outcome = o; }));
    waitFor(outcome);
    EXPECT_EQ(outcome->status, SampleOutcome::Status::Sampled);
    EXPECT_EQ(outcome->stateByte, 0x7F);
    EXPECT_EQ(port.operations, ops({"open 1", "threshold 0", "discard", "write 53", "read 3"}));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Exchanges, SignalSampleFailures)
{
    openPort();
    board.answer(CMD_SIGNALS, {QByteArray("\x7F")});
    std::optional<SampleOutcome> outcome;
    QElapsedTimer clock;
    clock.start();
    owner.sampleSignals([&](const SampleOutcome &o) { outcome = o; });
    waitFor(outcome);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(outcome->status, SampleOutcome::Status::NoAnswer);

    port.close();
    port.missingPorts.insert(1);
    outcome.reset();
    owner.sampleSignals([&](const SampleOutcome &o) { outcome = o; });
    waitFor(outcome);
    EXPECT_EQ(outcome->status, SampleOutcome::Status::PortFailed);
    EXPECT_EQ(outcome->errorCode, 1);
}

TEST_F(Exchanges, MeasurementWaitsWithoutLimitAndReportsProgress)
{
    openPort();
    QByteArray records;
    for (int i = 0; i < 60; ++i)
        records += QByteArray("\x10\x02", 2);
    board.answer(CMD_MEASURE, {records.left(37), records.mid(37, 40), records.mid(77)});
    QList<qint16> progress;
    std::optional<MeasurementOutcome> outcome;
    owner.startMeasurement([&](qint16 n) { progress << n; }, [&](const MeasurementOutcome &o) { outcome = o; });
    waitFor(outcome);
    EXPECT_EQ(outcome->status, MeasurementOutcome::Status::Measured);
    EXPECT_EQ(outcome->records, records);
    EXPECT_EQ(progress, (QList<qint16>{0, 37, 77}));
    EXPECT_EQ(port.operations, ops({"discard", "threshold 0", "write 4d", "read 120", "discard", "write 45"}));
}

TEST_F(Exchanges, MeasurementStoppedByTheUser)
{
    openPort();
    board.answer(CMD_MEASURE, {QByteArray(37, '\x01')});
    std::optional<MeasurementOutcome> outcome;
    QList<qint16> progress;
    owner.startMeasurement([&](qint16 n) { progress << n; }, [&](const MeasurementOutcome &o) { outcome = o; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.size() == 2; }, 1000));
    QTest::qWait(50);
    EXPECT_FALSE(outcome); // no time limit
    owner.stopMeasurement();
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->status, MeasurementOutcome::Status::Stopped);
    EXPECT_EQ(port.operations, ops({"discard", "threshold 0", "write 4d", "discard", "write 45"}));
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(Exchanges, MeasurementEndsOnAnOverrunCount)
{
    // More than 32767 waiting bytes read as a negative count: plenty, not too few.
    openPort();
    board.answer(CMD_MEASURE, {QByteArray(40000, '\x01')});
    std::optional<MeasurementOutcome> outcome;
    owner.startMeasurement({}, [&](const MeasurementOutcome &o) { outcome = o; });
    waitFor(outcome);
    EXPECT_EQ(outcome->status, MeasurementOutcome::Status::Measured);
    EXPECT_EQ(outcome->records.size(), 40000);
}

} // namespace
