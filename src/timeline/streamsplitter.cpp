#include "streamsplitter.h"

#include "data/streamformat.h"

#include <algorithm>

namespace ferrox {

StreamSplitter::StreamSplitter(qint32 pieceLimit, const ArrivalTimes &start)
    : m_limit(std::clamp(pieceLimit, 2, LargestPiece))
    , m_start(start)
{
    m_start.arrivals.clear();
    m_current.times = m_start;
}

QList<StreamSplitter::Piece> StreamSplitter::feed(QByteArrayView block, qint64 micros)
{
    QList<Piece> done;
    if (block.isEmpty())
        return done;
    m_fed += block.size();
    m_current.times.arrivals.append({m_current.stream.size(), micros});
    while (!block.isEmpty()) {
        const qsizetype take = std::min<qsizetype>(block.size(), m_limit - m_current.stream.size());
        m_current.stream.append(block.first(take));
        block = block.sliced(take);
        if (m_current.stream.size() < m_limit)
            break;
        // A high nibble waits for its low nibble in the next piece.
        done.append(takePiece(isHighHalf(std::uint8_t(m_current.stream.back())) ? m_limit - 1 : m_limit));
        if (!m_current.stream.isEmpty() || !block.isEmpty())
            m_current.times.arrivals.append({0, micros});
    }
    return done;
}

std::optional<StreamSplitter::Piece> StreamSplitter::finish(bool endedByProgram)
{
    m_lastByteCut = endedByProgram && !m_current.stream.isEmpty()
        && isHighHalf(std::uint8_t(m_current.stream.back()));
    if (m_lastByteCut)
        m_current.stream.chop(1);
    if (m_current.stream.isEmpty() && m_anyPiece)
        return std::nullopt;
    return takePiece(m_current.stream.size());
}

StreamSplitter::Piece StreamSplitter::takePiece(qsizetype length)
{
    Piece piece;
    piece.stream = m_current.stream.first(length);
    piece.stream.append(char(EndCode));
    piece.times = m_start;
    for (const Arrival &arrival : std::as_const(m_current.times.arrivals)) {
        if (arrival.offset < length)
            piece.times.arrivals.append(arrival);
    }
    m_current.stream.remove(0, length);
    // The gap before the stream lies before its first piece only.
    m_start.linkLostEpochMicros.reset();
    m_current.times = m_start;
    m_anyPiece = true;
    return piece;
}

} // namespace ferrox
