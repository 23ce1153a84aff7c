#pragma once

#include "framedecoder.h"
#include "framer.h"

#include "data/streamformat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>
#include <deque>
#include <memory>

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
// cuts a stored capture: where the sender changes, and at an idle gap that
// buildFrames() takes as the end of a frame. The framer itself judges each
// gap, over the last pieces that arrived, so a gap counts here as it
// would count there (times coarser than the gap, such as an adapter's
// batches, end nothing).
//
// Without a decoder only the senders, times and byte counts of the pieces
// matter. With one, frames end as the decoder ends them too: at the
// decoder's own gap, where a message of its protocol ends inside one
// sender's bytes, and not at a gap that its check bridges (a Modbus RTU
// message whose tail came late: a stalled adapter or a busy PC). Bytes
// that end in a message the decoder sees unfinished are held over a gap
// until the next bytes tell, or until the line has been quiet for
// OpenHoldMicros: a tail later than that starts a frame of its own here,
// where the stored capture's frames would still join it.
//
// Since the next byte may never come, the owner asks takeIfQuietUntil()
// once the line has been quiet for a while (see gapMicros()) and at the
// stream's end takes the held frames with flush().
class LiveFrameCutter
{
public:
    // The longest frame held without a decoder (else the decoder's
    // longest); a sender that never pauses is cut there, as the framer cuts
    // an over-long frame.
    static constexpr qsizetype LongestFrame = 4096;
    // The recent pieces (one sender's bytes of one read) the framer
    // judges a gap by.
    static constexpr qsizetype ContextPieces = 64;
    // How long an unfinished message waits for its tail, in microseconds.
    static constexpr qint64 OpenHoldMicros = 1'000'000;

    // No decoder: frames end at sender changes and gaps only.
    explicit LiveFrameCutter(const FramerOptions &options, std::shared_ptr<const FrameDecoder> decoder = {});

    // The least idle time that can end a frame, in microseconds.
    qint64 gapMicros() const { return m_options.effectiveGapMicros(*m_decoder); }
    bool isHolding() const { return !m_run.values.isEmpty(); }
    // When the last byte arrived.
    qint64 lastMicros() const { return m_lastMicros; }

    // One sender's bytes that arrived together at `micros` (a read's run
    // of one sender); the frames they end, if any. A read's bytes are
    // judged together: the framer weighs a step between arrivals against
    // the line time of all the bytes that came at its end.
    QList<LiveFrame> take(Direction sender, QByteArrayView values, qint64 micros);
    // The held frames that the framer ends before a byte of the same
    // sender arriving at `micros` (the line quiet until then).
    QList<LiveFrame> takeIfQuietUntil(qint64 micros);
    // The held frames, ended here.
    QList<LiveFrame> flush();

private:
    struct Piece
    {
        Direction sender;
        qint64 micros;
        qsizetype count; // bytes
    };

    // One sender's bytes since the last cut, with each byte's arrival.
    struct Run
    {
        Direction sender = Direction::None;
        QByteArray values;
        QList<qint64> micros;
        // Where a gap came that the decoder may bridge; -1 for none.
        qsizetype gapAt = -1;
    };

    // Whether the framer ends the held frame before `count` bytes of
    // `sender` arriving at `micros`.
    bool framerEndsBefore(Direction sender, qsizetype count, qint64 micros) const;
    // Decides a gap held over with the bytes that came after it.
    void settleGap(QList<LiveFrame> &ended);
    // Ends the messages of the run's first `end` bytes, cut as the
    // decoder cuts them; with keepLast, the last one stays held.
    void endMessages(QList<LiveFrame> &ended, qsizetype end, bool keepLast);
    void endRun(QList<LiveFrame> &ended);
    qsizetype longestFrame() const;

    FramerOptions m_options;
    std::shared_ptr<const FrameDecoder> m_decoder;
    std::deque<Piece> m_recent; // at most ContextPieces
    Run m_run;
    qint64 m_lastMicros = 0;
};

} // namespace ferrox
