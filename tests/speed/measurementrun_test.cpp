// Board counts to a named rate: bit times, rate windows, a reply's 50 records; a run on the link:
// CMD_STOP on every way out, no wait on a closed port. (Window and ferrox-cli: e2e/measure_test.)
#include "speed/measurementlink.h"
#include "speed/measurementrun.h"
#include "speed/rateevaluation.h"
#include "speed/texts.h"

#include "link/linktesting.h"
#include "link/protocol.h"

#include <QSerialPort>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QByteArray records(const std::vector<quint16> &counts)
{
    QByteArray out;
    for (const quint16 count : counts)
        out.append(char(count & 0xFF)).append(char(count >> 8));
    return out;
}

TEST(RateEvaluation, BitTimeIsTheExactProductRoundedHalfToEven)
{
    // 1626.885, 104120.64, 54229.5 up to even, 162688.5 down to even, 7109487.45
    const struct { quint16 count; qint32 ns; } rows[] = {
        {0, 1627}, {945, 104121}, {485, 54230}, {1485, 162688}, {65535, 7109487}};
    for (const auto &row : rows)
        EXPECT_EQ(bitTimeOfCount(row.count), row.ns) << row.count;
}

TEST(RateEvaluation, TheFastestWindowHoldingTheBitTimeNamesTheRate)
{
    const struct { qint32 ns; std::optional<int> rate; } rows[] = {
        {104000, 9600}, {59500, 19200} /* also 14400's */, {29800, 38400} /* also 28800's */,
        {59900, 14400}, {7378, {}} /* on 115200's bounds */, {9982, {}}, {7379, 115200},
        {1627, {}} /* between 921600 and 460800 */, {NoShortestBitTime, {}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(rateForBitTime(row.ns), row.rate) << row.ns;
}

TEST(RateEvaluation, FiftyRecordsGiveTheShortestBitTimeAndItsText)
{
    const struct { const char *name; QByteArray reply; qint32 shortest; QString text; } rows[] = {
        {"board's pattern", records({945, 1905, 2865, 945, 3825, 1905}).repeated(9), 104121, QStringLiteral("    9600bps")},
        {"all counts 0", records(std::vector<quint16>(51, 0)), 1627, speedtext::notMeasured()},
        // The 51st record and the odd byte after it are not evaluated.
        {"after the 50th", records(std::vector<quint16>(50, 945)) + records({0}) + '\x00', 104121,
         QStringLiteral("    9600bps")},
        {"low byte first", records(std::vector<quint16>(50, 0x0102)), 29609, QStringLiteral("    38400bps")},
    };
    for (const auto &row : rows) {
        const RateEvaluation evaluation = evaluateMeasurement(row.reply);
        EXPECT_EQ(evaluation.shortestBitTime, row.shortest) << row.name;
        EXPECT_EQ(evaluation.text, row.text) << row.name;
    }
}

TEST(MeasurementRun, EveryWayOutOfARunningMeasurementSendsTheStop)
{
    enum class Way { StopRequest, PortLost, Destroyed };
    const struct { Way way; std::optional<MeasurementReport::Status> status; } rows[] = {
        {Way::StopRequest, MeasurementReport::Status::Stopped}, {Way::PortLost, MeasurementReport::Status::PortFailed},
        {Way::Destroyed, std::nullopt}};
    for (const auto &row : rows) {
        FakeSerialPort port; // a board that sends only what the test gives
        port.open();
        LinkOwner owner(port);
        auto run = std::make_unique<MeasurementRun>(owner);
        QString progress;
        std::optional<MeasurementReport> report;
        QObject::connect(run.get(), &MeasurementRun::progressed, [&](const QString &t) { progress = t; });
        // As ferrox-cli does: the link closes once the result is in.
        QObject::connect(run.get(), &MeasurementRun::finished, [&](const MeasurementReport &r) {
            report = r;
            owner.shutdown();
        });
        run->start();
        port.deliver(QByteArray(37, '\x10')); // half records count: 18.5
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress == speedtext::progress(QStringLiteral("18.5")); }, 3000));

        if (row.way == Way::StopRequest)
            run->stop();
        if (row.way == Way::PortLost) {
            port.raiseLineError(QSerialPort::UnknownError); // not a reason to stop
            port.raiseLineError(QSerialPort::ResourceError);
        }
        if (row.way == Way::Destroyed)
            run.reset();
        QTest::qWait(20);
        EXPECT_EQ(report ? std::optional(report->status) : std::nullopt, row.status);
        EXPECT_EQ(port.written, QByteArray("ME"));
    }
}

TEST(MeasurementRun, AClosedPortIsReportedWithoutWaiting)
{
    FakeSerialPort port;
    LinkOwner owner(port);
    MeasurementRun run(owner);
    std::optional<MeasurementReport> report;
    QObject::connect(&run, &MeasurementRun::finished, [&](const MeasurementReport &r) { report = r; });
    run.start();
    EXPECT_TRUE(report);
    EXPECT_EQ(port.written, QByteArray());
}

class MeasurementExchange : public LinkFixture
{
protected:
    MeasurementExchange() { openPort(); }
    MeasurementLink link{owner};
};

TEST_F(MeasurementExchange, ReportsProgressAndTakesAnOverrun)
{
    const QByteArray records = QByteArray("\x10\x02", 2).repeated(60);
    board.answer(CMD_MEASURE, {records.left(37), records.mid(37, 40), records.mid(77)});
    QList<qint16> progress;
    const auto outcome = await<MeasurementOutcome>([&](auto done) { link.start([&](qint16 n) { progress << n; }, done); });
    EXPECT_EQ(outcome->status, MeasurementOutcome::Status::Measured);
    EXPECT_EQ(outcome->records, records);
    EXPECT_EQ(progress, (QList<qint16>{0, 37, 77}));
    EXPECT_EQ(port.operations, ops("discard|threshold 0|write 4d|read 120|discard|write 45"));

    // More than 32767 waiting bytes read as a negative count: plenty, not too few.
    board.answer(CMD_MEASURE, {QByteArray(40000, '\x01')});
    EXPECT_EQ(await<MeasurementOutcome>([&](auto done) { link.start({}, done); })->records.size(), 40000);
}

TEST_F(MeasurementExchange, StoppingTheRunningMeasurementSparesTheOneWaitingItsTurn)
{
    bool secondEnded = false;
    link.start({}, [](const MeasurementOutcome &) {});
    link.start({}, [&](const MeasurementOutcome &) { secondEnded = true; });
    link.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.written.endsWith("MEM"); }, 3000));
    QTest::qWait(50);
    EXPECT_FALSE(secondEnded);
}

} // namespace
