#include "livetextlines.h"

#include "data/streamformat.h"

#include <QDateTime>

namespace ferrox {

QByteArray LiveTextLines::feed(const std::vector<LiveByte> &bytes, qint64 epochMicros)
{
    QByteArray out;
    if (!m_pending.empty() && epochMicros - m_lastArrival >= m_gapMicros)
        out += flush();
    m_lastArrival = epochMicros;
    for (const LiveByte &b : bytes) {
        if (!m_pending.empty() && (b.sender != m_pending.front().sender || m_pending.size() == MaxBytes))
            out += flush();
        if (m_pending.empty())
            m_pendingStart = epochMicros;
        m_pending.push_back(b);
    }
    return out;
}

QByteArray LiveTextLines::flush()
{
    if (m_pending.empty())
        return {};
    QByteArray out = line();
    m_pending.clear();
    return out;
}

QByteArray LiveTextLines::line() const
{
    QByteArray values;
    for (const LiveByte &b : m_pending)
        values.append(static_cast<char>(b.value));
    switch (m_form) {
    case Form::Hex: return renderLiveBytes(values, LiveDisplay::Hex).toUtf8() + '\n';
    case Form::Text: return renderLiveBytes(values, LiveDisplay::Text).toUtf8() + '\n';
    case Form::Lines: break;
    }
    const Direction sender = m_pending.front().sender;
    QByteArray out = QDateTime::fromMSecsSinceEpoch(m_pendingStart / 1000).toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    out += sender == Direction::J1 ? " J1>" : sender == Direction::J2 ? " J2>" : " -->";
    for (const char v : values) {
        out += ' ';
        out += hexDigit(static_cast<std::uint8_t>(v) >> 4);
        out += hexDigit(static_cast<std::uint8_t>(v));
    }
    out += "  ";
    for (const char v : values) {
        const auto value = static_cast<std::uint8_t>(v);
        out += value >= 0x20 && value < 0x7F ? v : '.';
    }
    return out + '\n';
}

} // namespace ferrox
