#include "liveframecutter.h"

#include "framepcap.h"

#include <utility>

namespace ferrox {

std::optional<LiveFrame> LiveFrameCutter::take(Direction sender, std::uint8_t value, qint64 micros)
{
    std::optional<LiveFrame> ended;
    if (m_held
        && (m_held->sender != sender || m_held->values.size() >= LongestFrame
            || (micros - m_lastMicros >= gapMicros() && framerEndsBefore(sender, micros))))
        ended = flush();
    if (!m_held)
        m_held = LiveFrame{sender, {}, micros};
    m_held->values.append(char(value));
    m_lastMicros = std::max(m_lastMicros, micros);
    if (m_recent.empty() || m_recent.back().sender != sender || m_recent.back().micros != micros) {
        m_recent.push_back({sender, micros});
        if (qsizetype(m_recent.size()) > ContextPieces)
            m_recent.pop_front();
    }
    return ended;
}

std::optional<LiveFrame> LiveFrameCutter::takeIfQuietUntil(qint64 micros)
{
    if (m_held && micros - m_lastMicros >= gapMicros() && framerEndsBefore(m_held->sender, micros))
        return flush();
    return std::nullopt;
}

std::optional<LiveFrame> LiveFrameCutter::flush()
{
    return std::exchange(m_held, std::nullopt);
}

// Asked only after a silence of at least the gap, which any frame needs
// before it: most reads follow sooner and cost nothing.
bool LiveFrameCutter::framerEndsBefore(Direction sender, qint64 micros) const
{
    // The recent pieces and one of `sender` at `micros`, a byte each, as a
    // capture would store them: two stream bytes a byte, a new arrival where
    // the time moves on.
    MonitoredBytes bytes;
    ArrivalTimes times;
    const auto append = [&](Direction direction, qint64 at) {
        const qint32 offset = qint32(bytes.bytes.size()) * 2;
        if (times.arrivals.isEmpty() || times.arrivals.constLast().micros != at)
            times.arrivals.append({offset, at});
        bytes.bytes.append({offset + 1, direction, 0});
    };
    bytes.bytes.reserve(qsizetype(m_recent.size()) + 1);
    for (const Piece &piece : m_recent)
        append(piece.sender, piece.micros);
    append(sender, micros);
    const FrameList frames = buildFrames(bytes, times, PlainFrames(), m_options);
    return frames.frames.constLast().firstByte == bytes.bytes.size() - 1;
}

} // namespace ferrox
