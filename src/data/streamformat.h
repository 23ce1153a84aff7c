#pragma once

#include <cstdint>

namespace ferrox {

// One stream byte as the board sends it: a tag in the high nibble and four
// data bits in the low nibble. A monitored byte travels as two stream bytes,
// high nibble first; the byte 0xFF ends every stream.
namespace StreamTag {
constexpr std::uint8_t J2High = 0x8; // high nibble of a byte sent by J2
constexpr std::uint8_t J2Low = 0x9;  // low nibble of a byte sent by J2
constexpr std::uint8_t J1High = 0xA; // high nibble of a byte sent by J1
constexpr std::uint8_t J1Low = 0xB;  // low nibble of a byte sent by J1
constexpr std::uint8_t Final = 0xF;  // end code with data 0xF, otherwise meaningless
} // namespace StreamTag

constexpr std::uint8_t EndCode = 0xFF;

constexpr std::uint8_t tagOf(std::uint8_t streamByte) { return streamByte >> 4; }
constexpr std::uint8_t dataValueOf(std::uint8_t streamByte) { return streamByte & 0x0F; }
// The first of a monitored byte's two stream bytes (tag 0x8 or 0xA).
constexpr bool isHighHalf(std::uint8_t streamByte)
{
    return tagOf(streamByte) == StreamTag::J2High || tagOf(streamByte) == StreamTag::J1High;
}

// Upper-case hexadecimal digit of a value 0..15.
constexpr char hexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0x0F]; }

// Who sent a monitored byte. J1 travels J1→J2, J2 travels J1←J2; None is
// the state before any byte and the label of a half-assembled byte.
enum class Direction : std::uint8_t { None, J1, J2 };

constexpr Direction opposite(Direction d)
{
    return d == Direction::J1 ? Direction::J2 : d == Direction::J2 ? Direction::J1 : Direction::None;
}

} // namespace ferrox
