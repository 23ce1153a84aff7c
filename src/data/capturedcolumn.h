#pragma once

#include "characterrules.h"
#include "cp932.h"

#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <cstring>

namespace ferrox {

// columnCharacter() of every byte value, looked up: captured binary data
// holds control codes at random, where a branch on them would be guessed
// wrong again and again.
inline constexpr std::array<std::uint8_t, 256> columnCharacters = [] {
    std::array<std::uint8_t, 256> characters{};
    for (int value = 0; value < 256; ++value)
        characters[size_t(value)] = columnCharacter(value);
    return characters;
}();

// A line's character column of at most N captured bytes, with the code
// page 932 pass-through (see replaceLoneLeadBytes) applied as each byte is
// added: the line is then written with one plain copy, not copied and
// read back a second time to look for lone lead bytes. Bytes beyond N are
// dropped and judged with nothing. Past its bytes the column holds spaces
// up to N: the finished column padded to N is its first N bytes.
template<int N>
class CapturedColumn
{
public:
    CapturedColumn()
    {
        m_bytes[0] = ' ';
        clear();
    }

    void append(std::uint8_t b)
    {
        appendEach(std::array<std::uint8_t, 1>{b}, [](std::uint8_t value) { return value; });
    }

    // Each of `values` as `character` shows it, as append() would take
    // them one by one, with `also` called for every value as it comes (for
    // another part of the line, in the same loop). The judgement is made
    // in registers from the bytes as they come (the same as
    // judgeCp932Byte's): the byte before is rewritten whole, never read
    // back from the column just after it was stored there.
    template<typename Values, typename Character, typename Also>
    void appendEach(const Values &values, Character character, Also also)
    {
        char *const bytes = m_bytes + 1;
        int size = m_size;
        unsigned waiting = m_waiting;
        char before = bytes[size - 1]; // the slot before the first byte when empty
        const auto judged = [&](char c) {
            const unsigned role = cp932ByteRoles[std::uint8_t(c)];
            const unsigned paired = waiting & (role >> 1);
            const unsigned lone = waiting & ~paired;
            bytes[size - 1] = lone ? '?' : before;
            bytes[size] = c;
            waiting = role & Cp932LeadByte & ~paired;
            before = c;
            ++size;
        };
        if (size + int(values.size()) <= N) {
            // Room for all: no check per byte.
            for (const auto value : values) {
                also(value);
                judged(char(character(value)));
            }
        } else {
            for (const auto value : values) {
                also(value);
                if (size < N)
                    judged(char(character(value)));
            }
        }
        m_size = size;
        m_waiting = waiting;
    }
    template<typename Values, typename Character>
    void appendEach(const Values &values, Character character)
    {
        appendEach(values, character, [](auto) {});
    }

    // The finished column as written: a lead byte at its end becomes "?".
    // Nothing may be appended after this but after clear().
    QByteArrayView finished()
    {
        if (m_waiting)
            m_bytes[m_size] = '?';
        m_waiting = 0;
        return QByteArrayView(m_bytes + 1, m_size);
    }

    void clear()
    {
        std::memset(m_bytes + 1, ' ', N);
        m_size = 0;
        m_waiting = 0;
    }
    int size() const { return m_size; }

private:
    char m_bytes[1 + N]; // a slot the first byte's judgement may write, then the bytes
    int m_size = 0;
    unsigned m_waiting = 0; // the last byte is a lead byte waiting for its trail byte
};

} // namespace ferrox
