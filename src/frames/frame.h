#pragma once

#include "data/streamformat.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

// What a decoder's check said about a frame. A frame that fails its check
// is kept and marked, never dropped.
enum class FrameVerdict : std::uint8_t {
    Unchecked, // the decoder has no check for it
    Good,
    Bad, // `problem` says why
};

// The monitored bytes one side sent as one message: up to a change of
// direction, an idle gap, or the end the decoder finds in the bytes.
// Times are microseconds since the capture's start, the arrival of the
// piece holding the byte (see ArrivalTimes); empty without times.
struct Frame
{
    Direction direction = Direction::None;
    qint32 firstByte = 0; // index of its first monitored byte, from 0
    QByteArray bytes;
    std::optional<qint64> startMicros; // arrival of its first byte
    std::optional<qint64> endMicros;   // arrival of its last byte
    // Idle time before it: from the previous frame's last byte to its first
    // byte, whichever side sent the previous frame. Never negative.
    std::optional<qint64> gapMicros;
    // Cut at the longest frame the decoder takes; the rest follows as
    // further frames.
    bool overLong = false;

    // Filled by the decoder.
    QString summary;
    FrameVerdict verdict = FrameVerdict::Unchecked;
    QString problem;
    // A request and its response point at each other (frame indices);
    // the response carries the response time, from the request's last
    // byte to its own first byte.
    qint32 pairedFrame = -1;
    std::optional<qint64> responseMicros;

    void fail(const QString &why)
    {
        verdict = FrameVerdict::Bad;
        problem = problem.isEmpty() ? why : problem + QStringLiteral("、") + why;
    }
};

} // namespace ferrox
