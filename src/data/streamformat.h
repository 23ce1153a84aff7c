#pragma once

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <array>
#include <cstdint>
#include <cstring>

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

constexpr std::uint8_t dataValueOf(std::uint8_t streamByte) { return streamByte & 0x0F; }

// Upper-case hexadecimal digit of a value 0..15.
constexpr char hexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0x0F]; }

// Who sent a monitored byte. J1 travels J1→J2, J2 travels J1←J2; None is
// the state before any byte and the label of a half-assembled byte.
enum class Direction : std::uint8_t { None, J1, J2 };

constexpr Direction opposite(Direction d)
{
    return d == Direction::J1 ? Direction::J2 : d == Direction::J2 ? Direction::J1 : Direction::None;
}

// What a tag means to the renderers, the capture check and the timeline.
enum class TagKind : std::uint8_t {
    High,     // 0x8, 0xA: starts a monitored byte
    Low,      // 0x9, 0xB: completes it
    Final,    // 0xF: the end code 0xFF; with other data a byte to skip
    Undefined // any other tag: a receive error
};

// A stream byte's tag, decoded once for the whole program.
struct StreamTagMeaning
{
    TagKind kind = TagKind::Undefined;
    Direction sender = Direction::None; // High and Low: who sent the byte; else None
    // The live readers join nibbles by bits of the tag rather than by its
    // meaning, so that they never wait on a tag they do not know: the bit
    // 0x10 makes a completing nibble (every tag, error tags included), and
    // the capture's live view skips every tag with the bit 0x40 (0x4..0x7,
    // 0xC..0xF, the end code among them).
    bool completesByBit = false;
    bool skippedByCaptureView = false;
};

namespace detail {
constexpr TagKind error = TagKind::Undefined;
constexpr Direction nobody = Direction::None;
// By tag: what it means, who sent the byte, the bit 0x10, the bit 0x40.
constexpr std::array<StreamTagMeaning, 16> streamTagTable{{
    {error, nobody, false, false},                  // 0x0
    {error, nobody, true, false},                   // 0x1
    {error, nobody, false, false},                  // 0x2
    {error, nobody, true, false},                   // 0x3
    {error, nobody, false, true},                   // 0x4
    {error, nobody, true, true},                    // 0x5
    {error, nobody, false, true},                   // 0x6
    {error, nobody, true, true},                    // 0x7
    {TagKind::High, Direction::J2, false, false},   // 0x8
    {TagKind::Low, Direction::J2, true, false},     // 0x9
    {TagKind::High, Direction::J1, false, false},   // 0xA
    {TagKind::Low, Direction::J1, true, false},     // 0xB
    {error, nobody, false, true},                   // 0xC
    {error, nobody, true, true},                    // 0xD
    {error, nobody, false, true},                   // 0xE
    {TagKind::Final, nobody, true, true},           // 0xF
}};
} // namespace detail

// The one decoder of a stream byte's tag: every reader of the stream asks it.
constexpr const StreamTagMeaning &decodeTag(std::uint8_t streamByte)
{
    return detail::streamTagTable[streamByte >> 4];
}

// The first of a monitored byte's two stream bytes (tag 0x8 or 0xA).
constexpr bool isHighHalf(std::uint8_t streamByte) { return decodeTag(streamByte).kind == TagKind::High; }

// Whether two stream bytes in a row are one sound monitored byte: a high
// nibble and the low nibble of the same sender (tags 0x8 0x9 or 0xA 0xB).
// Tested by bits, since the renderers ask it at every byte.
constexpr bool isSoundPair(std::uint8_t first, std::uint8_t second)
{
    return (first & 0xD0) == 0x80 && (second & 0xF0) == (first & 0xF0) + 0x10;
}

// The monitored byte of a sound pair.
constexpr std::uint8_t pairValue(std::uint8_t first, std::uint8_t second)
{
    return std::uint8_t(dataValueOf(first) << 4 | dataValueOf(second));
}

// Sound bytes of one sender in a row, as the stream holds them (two stream
// bytes each): a range over their values.
class SoundRun
{
public:
    class Iterator
    {
    public:
        explicit Iterator(const char *at) : m_at(at) {}
        std::uint8_t operator*() const { return pairValue(std::uint8_t(m_at[0]), std::uint8_t(m_at[1])); }
        Iterator &operator++()
        {
            m_at += 2;
            return *this;
        }
        bool operator!=(const Iterator &other) const { return m_at != other.m_at; }

    private:
        const char *m_at;
    };

    SoundRun(const char *pairs, int count) : m_pairs(pairs), m_count(count) {}

    int size() const { return m_count; }
    std::uint8_t last() const { return *Iterator(m_pairs + 2 * (m_count - 1)); }
    Iterator begin() const { return Iterator(m_pairs); }
    Iterator end() const { return Iterator(m_pairs + 2 * m_count); }

private:
    const char *m_pairs;
    int m_count;
};

// How many sound bytes of one sender follow one another in `stream` from
// `from`, within the positions before `end` and at most `most`: 0 when
// `from` starts no sound byte.
inline int soundRunLength(const char *stream, qint64 from, qint64 end, int most)
{
    if (from + 1 >= end || !isSoundPair(std::uint8_t(stream[from]), std::uint8_t(stream[from + 1])))
        return 0;
    // Each pair after it has the first pair's two tags: compared as one
    // 16-bit word, masked to the tags.
    const auto tagsAt = [stream](qint64 i) {
        std::uint16_t pair;
        std::memcpy(&pair, stream + i, 2);
        return std::uint16_t(pair & 0xF0F0);
    };
    const std::uint16_t tags = tagsAt(from);
    const qint64 last = std::min(end, from + 2 * qint64(most)) - 1; // a pair's low nibble at most here
    qint64 at = from + 2;
    // Four pairs at a time while they fit, as one 64-bit word: a run is
    // the path of nearly every byte. In the word that ends the run, the
    // pairs before the first other one are counted from its lowest set
    // bit, without a loop whose end would be guessed wrong once a run.
    const std::uint64_t fourTags = tags * 0x0001000100010001ull;
    while (at + 7 <= last) {
        std::uint64_t four;
        std::memcpy(&four, stream + at, 8);
        const std::uint64_t other = (four & 0xF0F0F0F0F0F0F0F0ull) ^ fourTags;
        if (other != 0 && std::endian::native == std::endian::little)
            return int((at + 2 * (std::countr_zero(other) / 16) - from) / 2);
        if (other != 0)
            break;
        at += 8;
    }
    while (at < last && tagsAt(at) == tags)
        at += 2;
    return int((at - from) / 2);
}

// The tag of a stream that has just completed a byte: where a check of the
// tag sequence starts.
constexpr StreamTagMeaning byteCompleted() { return decodeTag(std::uint8_t(StreamTag::J2Low << 4)); }

// Whether a tag may follow `previous` in a sound stream: a high nibble or
// the end code only after a completed byte, a low nibble only after the
// high nibble of the same sender, an undefined tag never.
constexpr bool tagMayFollow(const StreamTagMeaning &previous, const StreamTagMeaning &tag)
{
    switch (tag.kind) {
    case TagKind::High:
    case TagKind::Final:
        return previous.kind == TagKind::Low;
    case TagKind::Low:
        return previous.kind == TagKind::High && previous.sender == tag.sender;
    case TagKind::Undefined:
        return false;
    }
    return false;
}

} // namespace ferrox
