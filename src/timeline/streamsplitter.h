#pragma once

#include "data/arrivaltimes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace ferrox {

// Cuts the stream of a capture longer than the buffer into pieces of at
// most pieceLimit stream bytes, each a stream of its own: it ends between
// two monitored bytes (never after a lone high nibble) and carries the end
// code, so every piece opens as a data file. Each piece has its own
// arrival times, offsets counted from the piece's start and times from the
// capture's start, so the pieces' times line up when they are joined.
class StreamSplitter
{
public:
    // The largest piece: with its end code it fills the buffer exactly.
    static constexpr qint32 LargestPiece = 262144;

    struct Piece
    {
        QByteArray stream; // stream bytes and the end code
        ArrivalTimes times;
    };

    // pieceLimit: 2..LargestPiece stream bytes. `start` gives the
    // capture's wall-clock start that every piece's times name; its
    // linkLostEpochMicros (a stream resumed after a lost link) goes to the
    // first piece only.
    StreamSplitter(qint32 pieceLimit, const ArrivalTimes &start);

    // Stream bytes (without the end code) that arrived `micros` after the
    // start. Returns the pieces they completed, in order.
    QList<Piece> feed(QByteArrayView block, qint64 micros);

    // What is left as the last piece; nothing when the stream ended just
    // after a cut, but an empty stream gives one piece of the end code
    // alone, as an empty capture does (and, like it, it is not stored).
    // endedByProgram: the program ended the stream (a lost link, no end
    // code), possibly between the two halves of a monitored byte; a lone
    // high half left then is no byte and is dropped (see lastByteCut()), as
    // a capture in the buffer drops it. The board's own stream keeps
    // whatever it sent.
    std::optional<Piece> finish(bool endedByProgram);
    bool lastByteCut() const { return m_lastByteCut; }

    // Stream bytes fed so far.
    qint64 streamBytes() const { return m_fed; }

private:
    Piece takePiece(qsizetype length);

    qint32 m_limit;
    ArrivalTimes m_start;
    Piece m_current;
    qint64 m_fed = 0;
    bool m_anyPiece = false;
    bool m_lastByteCut = false;
};

} // namespace ferrox
