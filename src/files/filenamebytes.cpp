#include "filenamebytes.h"

#include <cstdint>

namespace ferrox {

namespace {

constexpr char16_t EscapeBase = 0xDC00; // + a byte of 0x80..0xFF

// Length of the well-formed UTF-8 sequence at bytes[i], 0 when there is none.
qsizetype utf8SequenceLength(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return std::uint8_t(bytes.at(k)); };
    const std::uint8_t lead = at(i);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    }
    return length;
}

bool isEscape(const QString &name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    const bool afterHigh = i > 0 && name.at(i - 1).isHighSurrogate();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF && !afterHigh;
}

} // namespace

QString decodeFileName(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            text += QChar(char16_t(EscapeBase + std::uint8_t(bytes.at(i))));
            ++i;
            continue;
        }
        text += QString::fromUtf8(bytes.mid(i, length));
        i += length;
    }
    return text;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscape(name, i))
            bytes += char(name.at(i).unicode() - EscapeBase);
        else if (name.at(i).isHighSurrogate() && i + 1 < name.size())
            bytes += name.mid(i++, 2).toUtf8();
        else
            bytes += QString(name.at(i)).toUtf8();
    }
    return bytes;
}

} // namespace ferrox
