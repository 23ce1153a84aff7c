#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace ferrox {

// How the renderers put an assembled byte value into their character text.
// Values above 255 come only from malformed data (repeated low nibbles).

// The name of a named control code, "[STX]" ... "[ESC]"; nullptr for
// every other value.
const char *controlCodeName(std::uint8_t value);

// One monitored byte as a cell of the frame views and the exports (CSV,
// JSON lines): printable ASCII and half-width katakana (0xA1-0xDF) as
// themselves, CR and the named control codes by their names ("[CR]",
// "[STX]"), every other byte as "･".
QString byteCell(std::uint8_t value);

// The ASCII view: the named control codes as "[STX]" ... "[ESC]", TAB (9)
// as a TAB, CR (13) as a line break, other values below 32 as the
// placeholder byte 0xF7, and 32..255 as the byte itself.
void appendAsciiCharacter(QByteArray &out, std::uint8_t value);

// The same bytes for every value, as a table a renderer reads inline; the
// eight bytes are copied as one block, the first `size` of them kept.
struct AsciiCharacterText
{
    char bytes[8] = {};
    std::uint8_t size = 0;
};
const AsciiCharacterText *asciiCharacterTexts();

// The character columns of the hexadecimal-with-characters and exchange
// views: the value itself, or 0xA5 ("･") for values below 32, 160, and 254
// or more (254 and 255 are no characters of code page 932).
constexpr std::uint8_t columnCharacter(int value)
{
    return (value < 32 || value == 160 || value >= 254) ? std::uint8_t(0xA5) : std::uint8_t(value);
}

} // namespace ferrox
