#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace ferrox {

// Text files are written in code page 932 (Shift-JIS as Windows has it).
// Unlike Qt's converter of that name used directly, these keep the control
// codes 0x1A, 0x1C and 0x7F as themselves, and the single bytes 0x80, 0xA0
// and 0xFD to 0xFF as U+0080, U+F8F0 to U+F8F3, as Windows reads them.

// Text in code page 932. A character the code page cannot hold becomes
// "?", as the old ANSI conversion wrote it (one "?" for a character beyond
// the basic plane). A kept-byte character (below) becomes its byte.
QByteArray encodeCp932(QStringView text);

// Code page 932 bytes as text to read: a lead byte without its trail byte
// and a pair the code page has no character for each become U+FFFD.
QString decodeCp932(QByteArrayView bytes);

// Code page 932 bytes as text to be written back: encodeCp932 of the result
// gives exactly `bytes`, whatever they are. A byte the code page does not
// decode to a character of its own is kept as keptByteCharacter(byte): a
// lead byte without its trail byte, and both bytes of a pair that has no
// character or whose character is written as another pair (the code
// page's duplicates, such as 87 90 for 81 E0). Captured binary data thus
// keeps one character per byte, and its columns.
QString decodeCp932Exact(QByteArrayView bytes);

// The private-use characters U+F700 to U+F7FF, which code page 932 never
// decodes to, stand for the bytes 0x00 to 0xFF themselves.
constexpr char16_t keptByteCharacter(std::uint8_t b)
{
    return char16_t(0xF700 + b);
}

constexpr bool isKeptByteCharacter(char16_t c)
{
    return c >= 0xF700 && c <= 0xF7FF;
}

constexpr bool isCp932LeadByte(std::uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isCp932TrailByte(std::uint8_t b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// What a byte can be in a double-byte character: Cp932LeadByte,
// Cp932TrailByte, both (0x81-0x9F, 0xE0-0xFC) or neither.
enum : std::uint8_t { Cp932LeadByte = 1, Cp932TrailByte = 2 };

inline constexpr std::array<std::uint8_t, 256> cp932ByteRoles = [] {
    std::array<std::uint8_t, 256> roles{};
    for (int b = 0; b < 256; ++b)
        roles[b] = (isCp932LeadByte(std::uint8_t(b)) ? Cp932LeadByte : 0)
                   | (isCp932TrailByte(std::uint8_t(b)) ? Cp932TrailByte : 0);
    return roles;
}();

// Judges bytes[i], given whether the byte before it is a lead byte still
// waiting for its trail byte (`waiting` 1) or not (0); a waiting lead byte
// that gets none becomes "?". Returns whether bytes[i] is such a lead byte
// in turn. Captured binary data holds lead bytes at random, where a branch
// on them would be guessed wrong again and again: this is plain arithmetic
// (the store rewrites bytes[i] itself when nothing waits).
inline unsigned judgeCp932Byte(char *bytes, qsizetype i, unsigned waiting)
{
    const unsigned role = cp932ByteRoles[std::uint8_t(bytes[i])];
    const unsigned paired = waiting & (role >> 1);
    const unsigned lone = waiting & ~paired;
    char &before = bytes[i - qsizetype(waiting)];
    const char loneMask = char(-int(lone)); // all ones when lone
    before = char((before & ~loneMask) | ('?' & loneMask));
    return role & Cp932LeadByte & ~paired;
}

// Captured bytes (a line buffer or character column) are written unchanged
// so that Shift-JIS text the line carried reads as Japanese, except that a
// lead byte without a trail byte after it within the same `size` bytes
// becomes "?"; the byte after such a lead byte is judged on its own. Every
// byte in gives exactly one byte out, so column counts stay byte counts.
// Works in place.
void replaceLoneLeadBytes(char *bytes, qsizetype size);

} // namespace ferrox
