#pragma once

#include "data/streamformat.h"

#include <QByteArray>
#include <QFlags>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// What a decoder's check said about a frame. A frame that fails its check
// is kept and marked, never dropped.
enum class FrameVerdict : std::uint8_t {
    Unchecked, // the decoder has no check for it
    Good,
    Bad, // `problem` says why
};

// What a decoder found in a frame, for programs to read (their names, as
// the outputs and filters spell them, are in frameKindName()). Every
// failure has one; an exception response is a valid frame of its own kind.
enum class FrameKind : quint16 {
    Crc = 0x01,       // "crc": the check sequence (CRC, LRC, block check) differs
    Length = 0x02,    // "length": too short, cut, or too long for its function or protocol
    Count = 0x04,     // "count": a byte count that disagrees with its quantity
    Echo = 0x08,      // "echo": a write's answer that differs from its request
    Range = 0x10,     // "range": a quantity or value outside the protocol's limits
    Broadcast = 0x20, // "broadcast": a broadcast of a reading function, or an answer to one
    Unpaired = 0x40,  // "unpaired": an answer from another server or function, or to no request
    Exception = 0x80, // "exception": an exception response (not a failure)
};
Q_DECLARE_FLAGS(FrameKinds, FrameKind)

// Every kind, in the order the outputs list them.
inline constexpr FrameKind allFrameKinds[] = {FrameKind::Crc,   FrameKind::Length,    FrameKind::Count,
                                              FrameKind::Echo,  FrameKind::Range,     FrameKind::Broadcast,
                                              FrameKind::Unpaired, FrameKind::Exception};

// "crc", "length" …; frameKindsText() joins a frame's with commas.
QString frameKindName(FrameKind kind);
QString frameKindsText(FrameKinds kinds);
std::optional<FrameKind> frameKindNamed(const QString &name);

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
    QString problem; // the findings in words, for people
    FrameKinds kinds; // the findings, for programs
    // A request and its response point at each other (frame indices);
    // the response carries the response time, from the request's last
    // byte to its own first byte.
    qint32 pairedFrame = -1;
    std::optional<qint64> responseMicros;

    // A finding that makes the frame fail.
    void fail(FrameKind kind, const QString &why)
    {
        verdict = FrameVerdict::Bad;
        note(kind, why);
    }
    // A finding that does not (an exception response).
    void note(FrameKind kind, const QString &what)
    {
        kinds |= kind;
        problem = problem.isEmpty() ? what : problem + QStringLiteral("、") + what;
    }
};

} // namespace ferrox

Q_DECLARE_OPERATORS_FOR_FLAGS(ferrox::FrameKinds)
