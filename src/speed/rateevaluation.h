#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace ferrox {

// The evaluation of a line speed measurement. The board reports one
// record per pulse on the monitored line (J1 to J2): a 16-bit count, low
// byte first. The shortest of 50 pulses is taken as one bit; its time
// names a standard rate.

inline constexpr int MeasureRecordCount = 50;
inline constexpr int MeasureRecordBytes = 2;
// Start value of the shortest bit time, in nanoseconds: longer pulses
// never count.
inline constexpr qint32 NoShortestBitTime = 5000000;

// (count + 15) × 108.459 ns, the exact decimal product rounded to the
// nearest nanosecond, an exact half to the even neighbour.
qint32 bitTimeOfCount(quint16 count);

// The fastest rate whose window holds the bit time; none in a gap.
std::optional<int> rateForBitTime(qint32 bitTimeNs);

// "    9600bps": four spaces, the rate, "bps".
QString rateText(int bitsPerSecond);

struct RateEvaluation
{
    qint32 shortestBitTime = NoShortestBitTime; // ns
    std::optional<int> bitsPerSecond;
    QString text; // rateText(), or the could-not-measure text
};

// Evaluates the first 50 records of the board's reply; bytes after them
// are ignored. A reply cut short is evaluated on the whole records it has.
RateEvaluation evaluateMeasurement(QByteArrayView records);

// The records received so far for a count of waiting bytes, as the
// progress shows it: "0", "0.5", "12.5", "50".
QString receivedRecordsText(qint16 waitingBytes);

} // namespace ferrox
