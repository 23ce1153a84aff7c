#pragma once

// Helpers for the frame tests: monitored bytes with an arrival time each,
// and frames written out compactly for comparison.

#include "data/datatesting.h"
#include "support/printers.h"

#include "frames/framecharacters.h"
#include "frames/framer.h"

#include <QStringList>

#include <optional>
#include <string>

namespace ferrox::testing {

// One monitored byte and when it arrived (empty: before the first arrival).
struct TimedByte
{
    Direction direction;
    std::uint8_t value;
    std::optional<qint64> micros;
};

// The stream of the bytes, each its own arrival piece, and its times.
struct TimedStream
{
    MonitoredBytes bytes;
    std::optional<ArrivalTimes> times;
};

inline TimedStream timedStream(const QList<TimedByte> &timed, bool withTimes = true)
{
    QByteArray stream;
    ArrivalTimes times;
    for (const TimedByte &b : timed) {
        if (b.micros)
            times.arrivals.append({stream.size(), *b.micros});
        stream += b.direction == Direction::J1 ? byJ1(QByteArray(1, char(b.value))) : byJ2(QByteArray(1, char(b.value)));
    }
    return {assembleMonitoredBytes(streamOf(stream + endCode())), withTimes ? std::optional(times) : std::nullopt};
}

// Bytes sent by one side, all at the same time, or without a time.
inline QList<TimedByte> sentAt(Direction direction, QByteArrayView bytes, std::optional<qint64> micros)
{
    QList<TimedByte> out;
    for (const char c : bytes)
        out.append({direction, std::uint8_t(c), micros});
    return out;
}

// Modbus RTU server 17 answers after 12 ms, then with an exception after
// 30 ms; a third request's CRC is broken.
inline TimedStream modbusFindings()
{
    const QByteArray request = QByteArray::fromHex("1103006B00037687");
    QList<TimedByte> bytes = sentAt(Direction::J1, request, 0);
    bytes += sentAt(Direction::J2, QByteArray::fromHex("110306022B00000064C8BA"), 12000);
    bytes += sentAt(Direction::J1, request, 100000);
    bytes += sentAt(Direction::J2, QByteArray::fromHex("118302C134"), 130000);
    bytes += sentAt(Direction::J1, request.first(7) + char(0x86), 200000);
    return timedStream(bytes);
}

// "J1 41 42 / J2 43": each frame's side and bytes.
inline std::string framesText(const FrameList &list)
{
    QStringList frames;
    for (const Frame &frame : list.frames)
        frames << (frame.direction == Direction::J1 ? QStringLiteral("J1 ") : QStringLiteral("J2 ")) + frameHex(frame.bytes);
    return frames.join(QStringLiteral(" / ")).toStdString();
}

// The frames a decoder makes of a stream without times.
inline FrameList decoded(const QByteArray &stream, const QString &decoderName)
{
    const std::unique_ptr<FrameDecoder> decoder = makeDecoder(decoderName);
    return buildFrames(assembleMonitoredBytes(streamOf(stream + endCode())), std::nullopt, *decoder);
}

// Bytes one side sent whose first frame the decoder fails, with the
// problem in words and the kinds it finds.
struct FailureCase
{
    const char *name;
    QByteArray bytes;
    const char *problem;
    FrameKinds kinds;
};

inline void expectFailures(const QString &decoderName, const QList<FailureCase> &cases)
{
    for (const FailureCase &c : cases) {
        const FrameList list = decoded(byJ1(c.bytes), decoderName);
        ASSERT_FALSE(list.frames.isEmpty()) << c.name;
        EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Bad) << c.name;
        EXPECT_EQ(list.frames.at(0).problem, QString::fromUtf8(c.problem)) << c.name;
        EXPECT_EQ(list.frames.at(0).kinds, c.kinds) << c.name;
    }
}

} // namespace ferrox::testing
