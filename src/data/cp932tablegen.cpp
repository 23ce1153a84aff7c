// Writes the code page 932 tables the program converts with (see cp932.h)
// as C++ source, from ICU's converter as Qt offers it, with the few places
// where Windows reads the code page otherwise. Run once at build time: a
// process then converts with plain table lookups and never opens ICU's
// converter, whose start costs a short command more than its work.
//
// usage: cp932tablegen OUT.inc
#include "cp932.h"

#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextStream>

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const char *const codePageName = "windows-31j";

// Written where the code page has no character, or a character no bytes.
constexpr char16_t noCharacter = 0xFFFF;
constexpr std::uint16_t noBytes = 0xFFFF;

bool isLeadByte(int b) { return ferrox::isCp932LeadByte(std::uint8_t(b)); }

// ICU's converter for this code page follows IBM in three control codes
// (0x1A, 0x1C and 0x7F are exchanged) and turns single bytes that are no
// character into SUB. Windows maps the controls to themselves and those
// bytes to U+0080 and private-use characters.
char16_t windowsCharacterOf(int b)
{
    switch (b) {
    case 0x1A:
    case 0x1C:
    case 0x7F:
    case 0x80:
        return char16_t(b);
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
    for (int b = 0; b < 256; ++b)
        if (c != noCharacter && windowsCharacterOf(b) == c)
            return b;
    return -1;
}

class Converter
{
public:
    char16_t decode(QByteArrayView bytes)
    {
        // ICU gives U+FFFD for an unassigned pair and SUB for a single byte
        // that is no character.
        const QString text = m_decoder.decode(bytes);
        if (text.size() != 1 || text[0] == QChar::ReplacementCharacter || text[0] == QChar(0x1A))
            return noCharacter;
        return text[0].unicode();
    }

    // One byte as the value itself, a pair as lead * 256 + trail.
    std::uint16_t encode(char16_t c)
    {
        // A kept-byte character stands for its byte.
        if (ferrox::isKeptByteCharacter(c))
            return c - ferrox::keptByteCharacter(0);
        if (const int b = windowsByteOf(c); b >= 0)
            return std::uint16_t(b);
        if (QChar::isSurrogate(c))
            return noBytes;
        // ICU writes 0xFC 0xFC for a character the code page lacks (that
        // pair is no character of the code page) and nothing for some
        // invisible ones.
        const QByteArray bytes = m_encoder.encode(QStringView(&c, 1));
        if (bytes.size() == 1)
            return std::uint8_t(bytes[0]);
        if (bytes.size() == 2 && bytes != QByteArrayView("\xFC\xFC"))
            return std::uint16_t(std::uint8_t(bytes[0]) << 8 | std::uint8_t(bytes[1]));
        return noBytes;
    }

    bool isValid() const { return m_decoder.isValid() && m_encoder.isValid(); }

private:
    // Each conversion is of whole characters: nothing carries over.
    QStringDecoder m_decoder{codePageName, QStringConverter::Flag::Stateless};
    QStringEncoder m_encoder{codePageName, QStringConverter::Flag::Stateless};
};

// "{ 0x..., ... }", sixteen values a line.
template<typename T, size_t N>
void writeValues(QTextStream &out, const std::array<T, N> &values)
{
    out << "{";
    for (size_t i = 0; i < N; ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << "0x" << Qt::hex << unsigned(values[i]) << Qt::dec << ",";
    out << "\n}";
}

template<typename T, size_t N>
void writeTable(QTextStream &out, const char *declaration, const std::vector<std::array<T, N>> &rows)
{
    out << declaration << "[" << rows.size() << "][" << N << "] = {\n";
    for (const auto &row : rows) {
        writeValues(out, row);
        out << ",\n";
    }
    out << "};\n\n";
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: cp932tablegen OUT.inc\n");
        return 2;
    }
    Converter converter;
    if (!converter.isValid()) {
        std::fprintf(stderr, "cp932tablegen: Qt offers no %s converter\n", codePageName);
        return 1;
    }

    std::array<char16_t, 256> singles{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        singles[b] = isLeadByte(b) ? noCharacter : windowsCharacterOf(b);
        if (!isLeadByte(b) && singles[b] == noCharacter)
            singles[b] = converter.decode(QByteArrayView(&byte, 1));
    }

    // By lead byte in order (0x81-0x9F, then 0xE0-0xFC), then trail byte.
    std::vector<std::array<char16_t, 256>> pairs;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(lead))
            continue;
        std::array<char16_t, 256> &row = pairs.emplace_back();
        row.fill(noCharacter);
        for (int trail = 0; trail < 256; ++trail) {
            if (!ferrox::isCp932TrailByte(std::uint8_t(trail)))
                continue;
            const char bytes[2] = {char(lead), char(trail)};
            row[trail] = converter.decode(QByteArrayView(bytes, 2));
        }
    }

    // Characters by high byte: a block of 256 for each high byte that has
    // any, the high bytes with none sharing block 0, which has none.
    std::array<std::uint8_t, 256> blockOf{};
    std::vector<std::array<std::uint16_t, 256>> blocks(1);
    blocks[0].fill(noBytes);
    for (int high = 0; high < 256; ++high) {
        std::array<std::uint16_t, 256> block;
        bool any = false;
        for (int low = 0; low < 256; ++low) {
            block[low] = converter.encode(char16_t(high << 8 | low));
            any = any || block[low] != noBytes;
        }
        if (!any)
            continue;
        if (blocks.size() > 255) {
            std::fprintf(stderr, "cp932tablegen: too many blocks of characters\n");
            return 1;
        }
        blockOf[high] = std::uint8_t(blocks.size());
        blocks.push_back(block);
    }

    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cp932tablegen: cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream out(&file);
    out << "// Made by cp932tablegen from ICU's " << codePageName << " converter. Do not edit.\n\n";
    out << "constexpr char16_t singleCharacters[256] = ";
    writeValues(out, singles);
    out << ";\n\n";
    writeTable(out, "constexpr char16_t pairCharacters", pairs);
    out << "constexpr std::uint8_t encodingBlockOf[256] = ";
    writeValues(out, blockOf);
    out << ";\n\n";
    writeTable(out, "constexpr std::uint16_t encodingBlocks", blocks);
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        std::fprintf(stderr, "cp932tablegen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
