#include "liveframecutter.h"

#include "framepcap.h"

#include <utility>

namespace ferrox {

std::optional<LiveFrame> LiveFrameCutter::take(Direction sender, std::uint8_t value, qint64 micros)
{
    std::optional<LiveFrame> ended;
    if (m_held
        && (m_held->sender != sender || m_held->values.size() >= LongestFrame
            || (micros > m_lastMicros && framerEndsBefore(sender, micros))))
        ended = flush();
    if (!m_held)
        m_held = LiveFrame{sender, {}, micros};
    m_held->values.append(char(value));
    m_lastMicros = std::max(m_lastMicros, micros);
    m_recent.push_back({sender, value, micros});
    if (qsizetype(m_recent.size()) > ContextBytes)
        m_recent.pop_front();
    return ended;
}

std::optional<LiveFrame> LiveFrameCutter::takeIfQuietUntil(qint64 micros)
{
    if (m_held && micros > m_lastMicros && framerEndsBefore(m_held->sender, micros))
        return flush();
    return std::nullopt;
}

std::optional<LiveFrame> LiveFrameCutter::flush()
{
    return std::exchange(m_held, std::nullopt);
}

bool LiveFrameCutter::framerEndsBefore(Direction sender, qint64 micros) const
{
    // The recent bytes and a further one of `sender` at `micros`, as a
    // capture would store them: two stream bytes each, a new arrival where
    // the time moves on.
    MonitoredBytes bytes;
    ArrivalTimes times;
    const auto append = [&](Direction direction, std::uint8_t value, qint64 at) {
        const qint32 offset = qint32(bytes.bytes.size()) * 2;
        if (times.arrivals.isEmpty() || times.arrivals.constLast().micros != at)
            times.arrivals.append({offset, at});
        bytes.bytes.append({offset + 1, direction, value});
    };
    bytes.bytes.reserve(qsizetype(m_recent.size()) + 1);
    for (const Recent &recent : m_recent)
        append(recent.sender, recent.value, recent.micros);
    append(sender, 0, micros);
    const FrameList frames = buildFrames(bytes, times, PlainFrames(), m_options);
    return frames.frames.constLast().firstByte == bytes.bytes.size() - 1;
}

} // namespace ferrox
