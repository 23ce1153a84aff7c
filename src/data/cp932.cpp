#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace ferrox {

namespace {

const char *const codePageName = "windows-31j";

constexpr char16_t noCharacter = 0xFFFF;
constexpr std::uint16_t noBytes = 0xFFFF;

// ICU's converter for this code page follows IBM in three control codes
// (0x1A, 0x1C and 0x7F are exchanged) and turns single bytes that are no
// character into SUB. Windows maps the controls to themselves and those
// bytes to U+0080 and private-use characters.
char16_t windowsCharacterOf(std::uint8_t b)
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
        return char16_t(0xF8F1 + (b - 0xFD));
    default:
        return noCharacter;
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

int leadIndex(std::uint8_t lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// The code page, one character at a time: each single byte, well-formed
// pair and character is converted by ICU the first time it is met and
// remembered, so short texts cost little and long ones convert fast.
// One per thread.
class CodePage
{
public:
    // The converters and the tables of what they gave are made as they are
    // first needed: a short run (the command line rendering one file)
    // mostly needs a few characters one way.
    CodePage() { m_singles.fill(unknownCharacter); }

    // The character of a byte that is no lead byte, or noCharacter.
    char16_t single(std::uint8_t b)
    {
        char16_t &c = m_singles[b];
        if (c == unknownCharacter) {
            c = windowsCharacterOf(b);
            if (c == noCharacter)
                c = decodeOne(QByteArrayView(reinterpret_cast<const char *>(&b), 1));
        }
        return c;
    }

    // The character of a well-formed pair, or noCharacter.
    char16_t pair(std::uint8_t lead, std::uint8_t trail)
    {
        char16_t &c = block(m_pairs[leadIndex(lead)], unknownCharacter)[trail];
        if (c == unknownCharacter) {
            const char bytes[2] = {char(lead), char(trail)};
            c = decodeOne(QByteArrayView(bytes, 2));
        }
        return c;
    }

    // One byte as the value itself, a pair as lead * 256 + trail; noBytes
    // when code page 932 has no such character.
    std::uint16_t encoded(char16_t c)
    {
        std::uint16_t &bytes = block(m_encoded[c >> 8], unknownBytes)[c & 0xFF];
        if (bytes == unknownBytes)
            bytes = encodeOne(c);
        return bytes;
    }

private:
    static constexpr char16_t unknownCharacter = 0xFFFE;
    static constexpr std::uint16_t unknownBytes = 0xFFFE;

    template<typename T>
    using Block = std::unique_ptr<std::array<T, 256>>;

    // A table's block of 256 entries, made (all `unknown`) on first use.
    template<typename T>
    static std::array<T, 256> &block(Block<T> &slot, T unknown)
    {
        if (!slot) {
            slot = std::make_unique<std::array<T, 256>>();
            slot->fill(unknown);
        }
        return *slot;
    }

    char16_t decodeOne(QByteArrayView bytes)
    {
        // Each conversion is of whole characters: nothing carries over.
        if (!m_decoder)
            m_decoder.emplace(codePageName, QStringConverter::Flag::Stateless);
        // ICU gives U+FFFD for an unassigned pair and SUB for a single byte
        // that is no character.
        const QString text = m_decoder->decode(bytes);
        if (text.size() != 1 || text[0] == QChar::ReplacementCharacter || text[0] == QChar(0x1A))
            return noCharacter;
        return text[0].unicode();
    }

    std::uint16_t encodeOne(char16_t c)
    {
        if (isKeptByteCharacter(c))
            return c - keptByteCharacter(0);
        if (const int b = windowsByteOf(c); b >= 0)
            return std::uint16_t(b);
        if (QChar::isSurrogate(c))
            return noBytes;
        // ICU writes 0xFC 0xFC for a character the code page lacks (that
        // pair is no character of the code page) and nothing for some
        // invisible ones.
        if (!m_encoder)
            m_encoder.emplace(codePageName, QStringConverter::Flag::Stateless);
        const QByteArray bytes = m_encoder->encode(QStringView(&c, 1));
        if (bytes.size() == 1)
            return std::uint8_t(bytes[0]);
        if (bytes.size() == 2 && bytes != QByteArrayView("\xFC\xFC"))
            return std::uint16_t(std::uint8_t(bytes[0]) << 8 | std::uint8_t(bytes[1]));
        return noBytes;
    }

    std::optional<QStringEncoder> m_encoder;
    std::optional<QStringDecoder> m_decoder;
    std::array<char16_t, 256> m_singles;
    std::array<Block<char16_t>, 60> m_pairs; // by lead byte, then trail byte
    std::array<Block<std::uint16_t>, 256> m_encoded; // by the character's high byte
};

CodePage &codePage()
{
    thread_local CodePage page;
    return page;
}

enum class Undecodable { Replace, Keep };

QString decode(QByteArrayView bytes, Undecodable undecodable)
{
    CodePage &page = codePage();
    const bool keeping = undecodable == Undecodable::Keep;
    // Never more characters than bytes.
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    const auto keep = [&](std::uint8_t b) { *to++ = keeping ? keptByteCharacter(b) : char16_t(QChar::ReplacementCharacter); };
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = std::uint8_t(bytes[i]);
        if (!isCp932LeadByte(b)) {
            const char16_t c = page.single(b);
            if (c != noCharacter && (!keeping || page.encoded(c) == b))
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
        const char16_t c = page.pair(b, trail);
        if (c != noCharacter && (!keeping || page.encoded(c) == (b << 8 | trail))) {
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
    CodePage &page = codePage();
    // Never more than two bytes a character.
    QByteArray out(2 * text.size(), Qt::Uninitialized);
    char *to = out.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        // A character beyond the basic plane is one "?", not two.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        const std::uint16_t bytes = page.encoded(c);
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
