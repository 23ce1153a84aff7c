#include "characterrules.h"

#include <array>
#include <cstring>

namespace ferrox {

const char *controlCodeName(std::uint8_t value)
{
    switch (value) {
    case 2: return "[STX]";
    case 3: return "[ETX]";
    case 4: return "[EOT]";
    case 5: return "[ENQ]";
    case 6: return "[ACK]";
    case 10: return "[LF]";
    case 21: return "[NAK]";
    case 27: return "[ESC]";
    default: return nullptr;
    }
}

QString byteCell(std::uint8_t value)
{
    if (value >= 0x20 && value < 0x7F)
        return QString(QChar(char16_t(value)));
    if (value >= 0xA1 && value <= 0xDF)
        return QString(QChar(char16_t(0xFF61 + (value - 0xA1)))); // half-width katakana
    if (value == 0x0D)
        return QStringLiteral("[CR]");
    if (const char *name = controlCodeName(value))
        return QLatin1String(name);
    return QStringLiteral("･");
}

const AsciiCharacterText *asciiCharacterTexts()
{
    static const auto table = [] {
        std::array<AsciiCharacterText, 256> texts;
        for (int value = 0; value < 256; ++value) {
            AsciiCharacterText &text = texts[value];
            const auto set = [&text](const char *bytes) {
                text.size = std::uint8_t(std::strlen(bytes));
                std::memcpy(text.bytes, bytes, text.size);
            };
            if (const char *name = controlCodeName(std::uint8_t(value)))
                set(name);
            else if (value == 9)
                set("\t");
            else if (value == 13)
                set("\r\n");
            else
                text = {{char(value < 32 ? 0xF7 : value)}, 1};
        }
        return texts;
    }();
    return table.data();
}

void appendAsciiCharacter(QByteArray &out, std::uint8_t value)
{
    const AsciiCharacterText &text = asciiCharacterTexts()[value];
    out.append(text.bytes, text.size);
}

} // namespace ferrox
