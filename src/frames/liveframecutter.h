#pragma once

#include "framer.h"

#include "data/streamformat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>
#include <deque>
#include <optional>

namespace ferrox {

// A frame cut from monitored bytes as they arrive: one sender's bytes and
// the arrival of its first byte, in the clock the bytes were stamped with.
struct LiveFrame
{
    Direction sender = Direction::None;
    QByteArray values;
    qint64 firstMicros = 0;
};

// Cuts monitored bytes into frames while they arrive, as the frame view
// cuts a stored capture without a decoder: where the sender changes, and
// at an idle gap that buildFrames() takes as the end of a frame. The
// framer itself judges each gap, over the last pieces that arrived, so a
// gap counts here as it would count there (times coarser than the gap,
// such as an adapter's batches, end nothing). Without a decoder only the
// senders, times and byte counts of the pieces matter to it.
//
// Since the next byte may never come, the owner asks endsHeldFrame() once
// the line has been quiet for a while (see gapMicros()) and at the
// stream's end takes the held frame with flush().
class LiveFrameCutter
{
public:
    // The longest frame held; a sender that never pauses is cut there, as
    // the framer cuts an over-long frame.
    static constexpr qsizetype LongestFrame = 4096;
    // The recent pieces (one sender's bytes of one read) the framer
    // judges a gap by.
    static constexpr qsizetype ContextPieces = 64;

    explicit LiveFrameCutter(const FramerOptions &options) : m_options(options) {}

    // The least idle time that can end a frame, in microseconds.
    qint64 gapMicros() const { return m_options.effectiveGapMicros(); }
    bool isHolding() const { return m_held.has_value(); }
    // When the last byte arrived.
    qint64 lastMicros() const { return m_lastMicros; }

    // One sender's bytes that arrived together at `micros` (a read's run
    // of one sender); the frames they end, if any. A read's bytes are
    // judged together: the framer weighs a step between arrivals against
    // the line time of all the bytes that came at its end.
    QList<LiveFrame> take(Direction sender, QByteArrayView values, qint64 micros);
    // The held frame when the framer would end it before a byte of the
    // same sender arriving at `micros` (the line quiet until then).
    std::optional<LiveFrame> takeIfQuietUntil(qint64 micros);
    // The held frame, ended here.
    std::optional<LiveFrame> flush();

private:
    struct Piece
    {
        Direction sender;
        qint64 micros;
        qsizetype count; // bytes
    };

    // Whether the framer ends the held frame before `count` bytes of
    // `sender` arriving at `micros`.
    bool framerEndsBefore(Direction sender, qsizetype count, qint64 micros) const;

    FramerOptions m_options;
    std::deque<Piece> m_recent; // at most ContextPieces
    std::optional<LiveFrame> m_held;
    qint64 m_lastMicros = 0;
};

} // namespace ferrox
