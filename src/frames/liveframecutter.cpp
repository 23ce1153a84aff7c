#include "liveframecutter.h"

#include "framepcap.h"

#include <utility>

namespace ferrox {

QList<LiveFrame> LiveFrameCutter::take(Direction sender, QByteArrayView values, qint64 micros)
{
    QList<LiveFrame> ended;
    if (values.isEmpty())
        return ended;
    if (m_held
        && (m_held->sender != sender
            || (micros - m_lastMicros >= gapMicros() && framerEndsBefore(sender, values.size(), micros))))
        ended.append(*flush());
    for (const char value : values) {
        if (m_held && m_held->values.size() >= LongestFrame)
            ended.append(*flush());
        if (!m_held)
            m_held = LiveFrame{sender, {}, micros};
        m_held->values.append(value);
    }
    m_lastMicros = std::max(m_lastMicros, micros);
    if (m_recent.empty() || m_recent.back().sender != sender || m_recent.back().micros != micros) {
        m_recent.push_back({sender, micros, 0});
        if (qsizetype(m_recent.size()) > ContextPieces)
            m_recent.pop_front();
    }
    m_recent.back().count += values.size();
    return ended;
}

std::optional<LiveFrame> LiveFrameCutter::takeIfQuietUntil(qint64 micros)
{
    if (m_held && micros - m_lastMicros >= gapMicros() && framerEndsBefore(m_held->sender, 1, micros))
        return flush();
    return std::nullopt;
}

std::optional<LiveFrame> LiveFrameCutter::flush()
{
    return std::exchange(m_held, std::nullopt);
}

// Asked only after a silence of at least the gap, which any frame needs
// before it: most reads follow sooner and cost nothing.
bool LiveFrameCutter::framerEndsBefore(Direction sender, qsizetype count, qint64 micros) const
{
    // The recent pieces and `count` bytes of `sender` at `micros`, as a capture
    // would store them: two stream bytes a byte, a new arrival where the
    // time moves on. Each piece keeps its count of bytes: the framer
    // judges a step between arrivals less the line time of what came after
    // it, so a piece's bytes tell a paced burst from a silence.
    MonitoredBytes bytes;
    ArrivalTimes times;
    const auto append = [&](Direction direction, qint64 at, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            const qint32 offset = qint32(bytes.bytes.size()) * 2;
            if (times.arrivals.isEmpty() || times.arrivals.constLast().micros != at)
                times.arrivals.append({offset, at});
            bytes.bytes.append({offset + 1, direction, 0});
        }
    };
    for (const Piece &piece : m_recent)
        append(piece.sender, piece.micros, piece.count);
    append(sender, micros, count);
    const FrameList frames = buildFrames(bytes, times, PlainFrames(), m_options);
    return frames.frames.constLast().firstByte == bytes.bytes.size() - 1;
}

} // namespace ferrox
