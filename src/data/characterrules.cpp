#include "characterrules.h"

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

namespace {

struct AsciiCharacterTexts
{
    AsciiCharacterTexts()
    {
        for (int value = 0; value < 256; ++value) {
            QByteArray &text = texts[value];
            if (const char *name = controlCodeName(std::uint8_t(value)))
                text = name;
            else if (value == 9)
                text = "\t";
            else if (value == 13)
                text = "\r\n";
            else
                text = QByteArray(1, char(value < 32 ? 0xF7 : value));
        }
    }
    QByteArray texts[256];
};

} // namespace

QByteArrayView asciiCharacterText(std::uint8_t value)
{
    static const AsciiCharacterTexts table;
    return table.texts[value];
}

void appendAsciiCharacter(QByteArray &out, std::uint8_t value)
{
    out.append(asciiCharacterText(value));
}

} // namespace ferrox
