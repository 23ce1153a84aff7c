#include "liveframecutter.h"

#include "framepcap.h"

#include <algorithm>
#include <utility>

namespace ferrox {

namespace {

// A decoder's idle gap and nothing else of it, for judging silences: the
// cutter itself splits and joins the decoder's messages.
class GapOf final : public FrameDecoder
{
public:
    explicit GapOf(const FrameDecoder &decoder) : m_decoder(decoder) {}
    std::optional<qint64> idleGapMicros(qint32 baud) const override { return m_decoder.idleGapMicros(baud); }
    void decodeFrames(QList<Frame> &) const override {}

private:
    const FrameDecoder &m_decoder;
};

} // namespace

LiveFrameCutter::LiveFrameCutter(const FramerOptions &options, std::shared_ptr<const FrameDecoder> decoder)
    : m_options(options), m_decoder(decoder ? std::move(decoder) : std::make_shared<PlainFrames>())
{
}

qsizetype LiveFrameCutter::longestFrame() const
{
    return std::min(LongestFrame, m_decoder->maxFrameLength());
}

QList<LiveFrame> LiveFrameCutter::take(Direction sender, QByteArrayView values, qint64 micros)
{
    QList<LiveFrame> ended;
    if (values.isEmpty())
        return ended;
    if (isHolding() && m_run.sender != sender) {
        endRun(ended);
    } else if (isHolding() && micros - m_lastMicros >= gapMicros() && framerEndsBefore(sender, values.size(), micros)) {
        settleGap(ended);
        if (m_decoder->endsOpen(m_run.values))
            m_run.gapAt = m_run.values.size();
        else
            endRun(ended);
    }
    for (const char value : values) {
        if (m_run.values.size() >= longestFrame()) {
            settleGap(ended);
            endMessages(ended, m_run.values.size(), true);
            if (m_run.values.size() >= longestFrame())
                endMessages(ended, longestFrame(), false);
        }
        m_run.sender = sender;
        m_run.values.append(value);
        m_run.micros.append(micros);
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

QList<LiveFrame> LiveFrameCutter::takeIfQuietUntil(qint64 micros)
{
    QList<LiveFrame> ended;
    if (!isHolding() || micros - m_lastMicros < gapMicros() || !framerEndsBefore(m_run.sender, 1, micros))
        return ended;
    // All that came after a gap held over is in: it decides.
    settleGap(ended);
    if (m_decoder->endsOpen(m_run.values) && micros - m_lastMicros < OpenHoldMicros)
        endMessages(ended, m_run.values.size(), true);
    else
        endRun(ended);
    return ended;
}

QList<LiveFrame> LiveFrameCutter::flush()
{
    QList<LiveFrame> ended;
    endRun(ended);
    return ended;
}

void LiveFrameCutter::settleGap(QList<LiveFrame> &ended)
{
    if (m_run.gapAt < 0)
        return;
    const qsizetype gapAt = std::exchange(m_run.gapAt, -1);
    const QByteArrayView values(m_run.values);
    if (!m_decoder->continuesAcross(values.first(gapAt), values.sliced(gapAt)))
        endMessages(ended, gapAt, false);
}

void LiveFrameCutter::endMessages(QList<LiveFrame> &ended, qsizetype end, bool keepLast)
{
    const QByteArrayView part = QByteArrayView(m_run.values).first(end);
    qsizetype at = 0;
    while (at < end) {
        const QByteArrayView rest = part.sliced(at);
        qsizetype length = m_decoder->firstFrameLength(rest);
        if (length < 1 || length > rest.size())
            length = rest.size();
        length = std::min(length, longestFrame());
        if (keepLast && at + length == end)
            break;
        ended.append({m_run.sender, rest.first(length).toByteArray(), m_run.micros.at(at)});
        at += length;
    }
    m_run.values.remove(0, at);
    m_run.micros.remove(0, at);
    if (m_run.gapAt >= 0)
        m_run.gapAt = m_run.gapAt > at ? m_run.gapAt - at : -1;
}

void LiveFrameCutter::endRun(QList<LiveFrame> &ended)
{
    settleGap(ended);
    endMessages(ended, m_run.values.size(), false);
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
    const FrameList frames = buildFrames(bytes, times, GapOf(*m_decoder), m_options);
    // A frame starts with the first of the `count` bytes: all of them
    // arrived at once, so no later one can start it.
    const qint32 first = qint32(bytes.bytes.size() - count);
    return std::any_of(frames.frames.crbegin(), frames.frames.crend(),
                       [first](const Frame &frame) { return frame.firstByte == first; });
}

} // namespace ferrox
