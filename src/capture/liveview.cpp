#include "liveview.h"

#include "texts.h"

namespace ferrox {

std::vector<LiveByte> LiveByteDecoder::decode(QByteArrayView stream)
{
    std::vector<LiveByte> values;
    values.reserve(static_cast<std::size_t>(stream.size() / 2 + 1));
    for (const char c : stream) {
        const auto b = static_cast<std::uint8_t>(c);
        const StreamTagMeaning &tag = decodeTag(b);
        if (m_rule == Rule::Capture && tag.skippedByCaptureView)
            continue;
        if (!tag.completesByBit)
            m_high = static_cast<std::uint8_t>(dataValueOf(b) << 4);
        else // the sender only where the tag names one: an error tag completes a byte of nobody
            values.push_back({static_cast<std::uint8_t>(m_high + dataValueOf(b)), tag.sender});
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
