#include "cp932.h"

#include <cstring>

namespace ferrox {

namespace {

constexpr char16_t noCharacter = 0xFFFF;
constexpr std::uint16_t noBytes = 0xFFFF;

// singleCharacters, pairCharacters, encodingBlockOf and encodingBlocks,
// made from ICU's converter at build time (cp932tablegen.cpp).
#include "cp932tables.inc"

int leadIndex(std::uint8_t lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// The character of a byte that is no lead byte, or noCharacter.
char16_t single(std::uint8_t b)
{
    return singleCharacters[b];
}

// The character of a well-formed pair, or noCharacter.
char16_t pair(std::uint8_t lead, std::uint8_t trail)
{
    return pairCharacters[leadIndex(lead)][trail];
}

// One byte as the value itself, a pair as lead * 256 + trail; noBytes
// when code page 932 has no such character.
std::uint16_t encoded(char16_t c)
{
    return encodingBlocks[encodingBlockOf[c >> 8]][c & 0xFF];
}

enum class Undecodable { Replace, Keep };

QString decode(QByteArrayView bytes, Undecodable undecodable)
{
    const bool keeping = undecodable == Undecodable::Keep;
    // Never more characters than bytes.
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    const auto keep = [&](std::uint8_t b) { *to++ = keeping ? keptByteCharacter(b) : char16_t(QChar::ReplacementCharacter); };
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = std::uint8_t(bytes[i]);
        if (!isCp932LeadByte(b)) {
            const char16_t c = single(b);
            if (c != noCharacter && (!keeping || encoded(c) == b))
                *to++ = c;
            else
                keep(b);
            continue;
        }
        if (i + 1 >= n || !isCp932TrailByte(std::uint8_t(bytes[i + 1]))) {
            keep(b); // a lead byte without its trail byte
            continue;
        }
        const auto trail = std::uint8_t(bytes[++i]);
        const char16_t c = pair(b, trail);
        if (c != noCharacter && (!keeping || encoded(c) == (b << 8 | trail))) {
            *to++ = c;
        } else if (!keeping) {
            *to++ = QChar::ReplacementCharacter;
        } else {
            // No character, or one that is written as another pair (the
            // code page's duplicates): both bytes are kept as they are.
            keep(b);
            keep(trail);
        }
    }
    out.truncate(to - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

} // namespace

QByteArray encodeCp932(QStringView text)
{
    // Never more than two bytes a character.
    QByteArray out(2 * text.size(), Qt::Uninitialized);
    char *to = out.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        // A character beyond the basic plane is one "?", not two.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        const std::uint16_t bytes = encoded(c);
        if (bytes == noBytes) {
            *to++ = '?';
        } else if (bytes > 0xFF) {
            *to++ = char(bytes >> 8);
            *to++ = char(bytes & 0xFF);
        } else {
            *to++ = char(bytes);
        }
    }
    out.truncate(to - out.constData());
    return out;
}

QString decodeCp932(QByteArrayView bytes)
{
    return decode(bytes, Undecodable::Replace);
}

QString decodeCp932Exact(QByteArrayView bytes)
{
    return decode(bytes, Undecodable::Keep);
}

void replaceLoneLeadBytes(char *bytes, qsizetype size)
{
    unsigned waiting = 0;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, bytes + i, 8);
        if (eight & 0x8080808080808080u) {
            for (int k = 0; k < 8; ++k)
                waiting = judgeCp932Byte(bytes, i + k, waiting);
        } else {
            // Eight bytes below 0x80 hold no lead byte: only the first may
            // still pair with a lead byte before it.
            judgeCp932Byte(bytes, i, waiting);
            waiting = 0;
        }
    }
    for (; i < size; ++i)
        waiting = judgeCp932Byte(bytes, i, waiting);
    if (waiting)
        bytes[size - 1] = '?'; // a lead byte at the end
}

} // namespace ferrox
