#include "liveview.h"

#include "texts.h"

namespace ferrox {

namespace {

Direction senderOf(std::uint8_t lowNibbleByte)
{
    switch (tagOf(lowNibbleByte)) {
    case StreamTag::J1Low: return Direction::J1;
    case StreamTag::J2Low: return Direction::J2;
    default: return Direction::None; // an error tag
    }
}

} // namespace

std::vector<LiveByte> LiveByteDecoder::decode(QByteArrayView stream)
{
    const std::uint8_t kindMask = m_rule == Rule::Capture ? 0x50 : 0x10;
    std::vector<LiveByte> values;
    values.reserve(static_cast<std::size_t>(stream.size() / 2 + 1));
    for (const char c : stream) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (b & kindMask) {
        case 0x00:
            m_high = static_cast<std::uint8_t>((b << 4) & 0xF0);
            break;
        case 0x10:
            values.push_back({static_cast<std::uint8_t>(m_high + (b & 0x0F)), senderOf(b)});
            break;
        default: // 0x40 or 0x50: skipped by the capture's rule
            break;
        }
    }
    return values;
}

void appendLiveByte(QString &text, std::uint8_t value, LiveDisplay display)
{
    if (display == LiveDisplay::Hex) {
        text += u' ';
        text += QLatin1Char(hexDigit(value >> 4));
        text += QLatin1Char(hexDigit(value));
        return;
    }
    const QString name = CaptureTexts::liveControlName(value);
    if (!name.isEmpty())
        text += name;
    else if (value >= 0x20 && value <= 0x7E)
        text += QLatin1Char(static_cast<char>(value));
    else if (value >= 0xA1 && value <= 0xDF) // half-width katakana, U+FF61 onward
        text += QChar(0xFF61 + (value - 0xA1));
    else
        text += CaptureTexts::liveOtherByte();
}

QString renderLiveByte(std::uint8_t value, LiveDisplay display)
{
    QString text;
    appendLiveByte(text, value, display);
    return text;
}

QString renderLiveBytes(QByteArrayView values, LiveDisplay display)
{
    QString text;
    text.reserve(values.size() * 3);
    for (const char c : values)
        appendLiveByte(text, static_cast<std::uint8_t>(c), display);
    return text;
}

} // namespace ferrox
