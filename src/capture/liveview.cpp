#include "liveview.h"

#include "texts.h"

namespace ferrox {

QByteArray LiveByteDecoder::decode(QByteArrayView stream)
{
    const std::uint8_t kindMask = m_rule == Rule::Capture ? 0x50 : 0x10;
    QByteArray values;
    values.reserve(stream.size() / 2 + 1);
    for (const char c : stream) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (b & kindMask) {
        case 0x00:
            m_high = static_cast<std::uint8_t>((b << 4) & 0xF0);
            break;
        case 0x10:
            values.append(static_cast<char>(m_high + (b & 0x0F)));
            break;
        default: // 0x40 or 0x50: skipped by the capture's rule
            break;
        }
    }
    return values;
}

QString renderLiveByte(std::uint8_t value, LiveDisplay display)
{
    if (display == LiveDisplay::Hex)
        return QStringLiteral(" %1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
    const QString name = CaptureTexts::liveControlName(value);
    if (!name.isEmpty())
        return name;
    if (value >= 0x20 && value <= 0x7E)
        return QString(QLatin1Char(static_cast<char>(value)));
    if (value >= 0xA1 && value <= 0xDF) // half-width katakana, U+FF61 onward
        return QString(QChar(0xFF61 + (value - 0xA1)));
    return CaptureTexts::liveOtherByte();
}

QString renderLiveBytes(QByteArrayView values, LiveDisplay display)
{
    QString text;
    text.reserve(values.size() * 3);
    for (const char c : values)
        text += renderLiveByte(static_cast<std::uint8_t>(c), display);
    return text;
}

} // namespace ferrox
