// From board counts to a named rate: bit times, the rate windows with
// their strict bounds and overlaps, and the 50 records of a reply.
#include "speed/rateevaluation.h"
#include "speed/texts.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ferrox;

namespace {

QByteArray records(const std::vector<quint16> &counts)
{
    QByteArray out;
    for (const quint16 count : counts) {
        out.append(char(count & 0xFF));
        out.append(char(count >> 8));
    }
    return out;
}

TEST(RateEvaluation, BitTimeIsTheExactProductRoundedHalfToEven)
{
    const struct { quint16 count; qint32 ns; } rows[] = {
        {0, 1627},         // 1626.885
        {945, 104121},     // 104120.64
        {485, 54230},      // 54229.5: up to the even neighbour
        {1485, 162688},    // 162688.5: down to the even neighbour
        {65535, 7109487},  // 7109487.45
    };
    for (const auto &row : rows)
        EXPECT_EQ(bitTimeOfCount(row.count), row.ns) << row.count;
}

TEST(RateEvaluation, TheFastestWindowHoldingTheBitTimeNamesTheRate)
{
    const struct { qint32 ns; std::optional<int> rate; } rows[] = {
        {104000, 9600},
        {59500, 19200},   // also in 14400's window
        {29800, 38400},   // also in 28800's window
        {59900, 14400},   // just past 19200's upper bound
        {7378, {}},       // exactly on 115200's bounds: no match
        {9982, {}},
        {7379, 115200},
        {9981, 115200},
        {1627, {}},       // between 921600 and 460800
        {NoShortestBitTime, {}},
        {3833331, 300},
    };
    for (const auto &row : rows)
        EXPECT_EQ(rateForBitTime(row.ns), row.rate) << row.ns;
    EXPECT_EQ(rateText(9600), QStringLiteral("    9600bps"));
}

TEST(RateEvaluation, FiftyRecordsGiveTheShortestBitTimeAndItsText)
{
    const struct {
        const char *name;
        QByteArray reply;
        qint32 shortest;
        QString text;
    } rows[] = {
        {"board's default pattern", records({945, 1905, 2865, 945, 3825, 1905}).repeated(9), 104121,
         QStringLiteral("    9600bps")},
        {"all counts 0", records(std::vector<quint16>(51, 0)), 1627, speedtext::notMeasured()},
        {"all counts beyond the limit", records(std::vector<quint16>(50, 50000)), NoShortestBitTime,
         speedtext::notMeasured()},
        // The 51st record and the odd byte after it are not evaluated.
        {"records after the 50th", records(std::vector<quint16>(50, 945)) + records({0}) + '\x00', 104121,
         QStringLiteral("    9600bps")},
        {"low byte first", records(std::vector<quint16>(50, 0x0102)), bitTimeOfCount(0x0102),
         QStringLiteral("    38400bps")},
    };
    for (const auto &row : rows) {
        const RateEvaluation evaluation = evaluateMeasurement(row.reply);
        EXPECT_EQ(evaluation.shortestBitTime, row.shortest) << row.name;
        EXPECT_EQ(evaluation.text, row.text) << row.name;
    }
}

TEST(RateEvaluation, ProgressCountsHalfRecords)
{
    const struct { qint16 bytes; const char *text; } rows[] = {
        {0, "0"}, {1, "0.5"}, {25, "12.5"}, {37, "18.5"}, {100, "50"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(receivedRecordsText(row.bytes), QLatin1String(row.text)) << row.bytes;
    EXPECT_TRUE(speedtext::progress(QStringLiteral("0")).endsWith(QStringLiteral("測定回数： 0/50")));
}

} // namespace
