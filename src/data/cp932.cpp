#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ferrox {

namespace {

const char *const codePageName = "windows-31j";

// ICU's converter for this code page follows IBM in three control codes
// (0x1A, 0x1C and 0x7F are exchanged) and turns single bytes that are no
// character into SUB. Windows maps the controls to themselves and those
// bytes to U+0080 and private-use characters; these single bytes are
// converted here, everything else by ICU.
int windowsCharacterOf(std::uint8_t b)
{
    switch (b) {
    case 0x1A:
    case 0x1C:
    case 0x7F:
    case 0x80:
        return b;
    case 0xA0:
        return 0xF8F0;
    case 0xFD:
    case 0xFE:
    case 0xFF:
        return 0xF8F1 + (b - 0xFD);
    default:
        return -1;
    }
}

int windowsByteOf(char16_t c)
{
    switch (c) {
    case 0x1A:
    case 0x1C:
    case 0x7F:
    case 0x80:
        return c;
    case 0xF8F0:
        return 0xA0;
    case 0xF8F1:
    case 0xF8F2:
    case 0xF8F3:
        return 0xFD + (c - 0xF8F1);
    default:
        return -1;
    }
}

void appendEncoded(QByteArray &out, QStringEncoder &encoder, QStringView text)
{
    if (text.isEmpty())
        return;
    const QByteArray encoded = encoder.encode(text);
    // ICU writes the pair 0xFC 0xFC for each character code page 932 lacks;
    // it is no character of the code page, so it only ever means that.
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const auto b = std::uint8_t(encoded[i]);
        if (isCp932LeadByte(b) && i + 1 < encoded.size()) {
            if (b == 0xFC && std::uint8_t(encoded[i + 1]) == 0xFC)
                out += '?';
            else
                out.append(encoded.constData() + i, 2);
            ++i;
        } else {
            out += char(b);
        }
    }
}

} // namespace

QByteArray encodeCp932(QStringView text)
{
    QStringEncoder encoder(codePageName);
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = windowsByteOf(text[i].unicode());
        if (b < 0)
            continue;
        appendEncoded(out, encoder, text.sliced(runStart, i - runStart));
        out += char(b);
        runStart = i + 1;
    }
    appendEncoded(out, encoder, text.sliced(runStart));
    return out;
}

QString decodeCp932(QByteArrayView bytes)
{
    QStringDecoder decoder(codePageName);
    QString out;
    out.reserve(bytes.size());
    qsizetype runStart = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = std::uint8_t(bytes[i]);
        if (isCp932LeadByte(b)) {
            if (i + 1 < n && isCp932TrailByte(std::uint8_t(bytes[i + 1]))) {
                ++i; // a pair, left to ICU
                continue;
            }
            out += decoder.decode(bytes.sliced(runStart, i - runStart));
            out += QChar(QChar::ReplacementCharacter);
            runStart = i + 1;
            continue;
        }
        const int c = windowsCharacterOf(b);
        if (c < 0)
            continue;
        out += decoder.decode(bytes.sliced(runStart, i - runStart));
        out += QChar(char16_t(c));
        runStart = i + 1;
    }
    out += decoder.decode(bytes.sliced(runStart));
    return out;
}

void replaceLoneLeadBytes(char *bytes, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (!isCp932LeadByte(std::uint8_t(bytes[i])))
            continue;
        if (i + 1 < size && isCp932TrailByte(std::uint8_t(bytes[i + 1])))
            ++i; // a whole double-byte character
        else
            bytes[i] = '?';
    }
}

} // namespace ferrox
