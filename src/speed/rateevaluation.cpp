#include "rateevaluation.h"

#include "texts.h"

#include <array>

namespace ferrox {

namespace {

// A standard rate and the bit times it accepts, in nanoseconds: a time t
// matches when lower < t < upper (85 % and 115 % of the nominal bit time).
struct RateWindow
{
    int bitsPerSecond;
    double lower;
    double upper;
};

// 300 to 921600 bit/s, slowest first. Two pairs overlap (14400/19200 and
// 28800/38400); between other windows lie gaps.
// The bounds are 0.85 and 1.15 times the nominal bit time the board's
// clock gives each rate (about 1e9 / rate ns).
constexpr std::array<RateWindow, 15> RateTable = {{
    {300, 2833332.2, 3833331.8},
    {600, 1416666.1, 1916665.9},
    {1200, 708333.05, 958332.95},
    {2400, 354166.1, 479165.9},
    {4800, 177082.2, 239581.8},
    {9600, 88541.1, 119790.9},
    {14400, 59027.4, 79860.6},
    {19200, 44270.55, 59895.45},
    {28800, 29513.7, 39930.3},
    {38400, 22134.85, 29947.15},
    {57600, 14756.85, 19965.15},
    {115200, 7378, 9982},
    {230400, 3689, 4991},
    {460800, 1844.5, 2495.5},
    {921600, 922.25, 1247.75},
}};

// 108.459 ns per count, in picoseconds, keeps the product exact.
constexpr qint64 CountPicoseconds = 108459;
constexpr qint64 CountOffset = 15;

} // namespace

qint32 bitTimeOfCount(quint16 count)
{
    const qint64 picoseconds = (qint64(count) + CountOffset) * CountPicoseconds;
    qint64 nanoseconds = picoseconds / 1000;
    const qint64 rest = picoseconds % 1000;
    if (rest > 500 || (rest == 500 && nanoseconds % 2 == 1))
        ++nanoseconds;
    return static_cast<qint32>(nanoseconds);
}

std::optional<int> rateForBitTime(qint32 bitTimeNs)
{
    // Later rows are faster: the last match wins where windows overlap.
    std::optional<int> rate;
    for (const RateWindow &window : RateTable) {
        if (window.lower < bitTimeNs && bitTimeNs < window.upper)
            rate = window.bitsPerSecond;
    }
    return rate;
}

QString rateText(int bitsPerSecond)
{
    return QStringLiteral("    ") + QString::number(bitsPerSecond) + QStringLiteral("bps");
}

RateEvaluation evaluateMeasurement(QByteArrayView records)
{
    RateEvaluation evaluation;
    const qsizetype count = std::min<qsizetype>(records.size() / MeasureRecordBytes, MeasureRecordCount);
    for (qsizetype i = 0; i < count; ++i) {
        const auto low = static_cast<std::uint8_t>(records[i * MeasureRecordBytes]);
        const auto high = static_cast<std::uint8_t>(records[i * MeasureRecordBytes + 1]);
        const qint32 bitTime = bitTimeOfCount(static_cast<quint16>(low | high << 8));
        evaluation.shortestBitTime = std::min(evaluation.shortestBitTime, bitTime);
    }
    evaluation.bitsPerSecond = rateForBitTime(evaluation.shortestBitTime);
    evaluation.text = evaluation.bitsPerSecond ? rateText(*evaluation.bitsPerSecond) : speedtext::notMeasured();
    return evaluation;
}

QString receivedRecordsText(qint16 waitingBytes)
{
    const int bytes = std::clamp<int>(waitingBytes, 0, MeasureRecordCount * MeasureRecordBytes);
    QString text = QString::number(bytes / MeasureRecordBytes);
    if (bytes % MeasureRecordBytes)
        text += QStringLiteral(".5");
    return text;
}

} // namespace ferrox
