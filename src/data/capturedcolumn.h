#pragma once

#include "characterrules.h"
#include "cp932.h"

#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <cstring>

namespace ferrox {

// A byte as a character column shows it, and what that character can be
// in a double-byte character (see cp932ByteRoles).
struct ColumnCell
{
    std::uint8_t character;
    std::uint8_t role;
};

// columnCharacter() of every byte value, with its role, looked up:
// captured binary data holds control codes at random, where a branch on
// them would be guessed wrong again and again, and the role is then no
// second lookup waiting for the first.
inline constexpr std::array<ColumnCell, 256> columnCells = [] {
    std::array<ColumnCell, 256> cells{};
    for (int value = 0; value < 256; ++value) {
        const std::uint8_t character = columnCharacter(value);
        cells[size_t(value)] = {character, cp932ByteRoles[character]};
    }
    return cells;
}();

// One character of captured bytes judged by the code page 932
// pass-through (see judgeCp932Byte) in registers: `role` is its first
// byte's, `waiting` whether the character before ends with a lead byte
// waiting for its trail byte, and becomes whether this one does. Returns
// 1 when the lead byte before stays alone (and shows as "?"). The next
// state is one step from the last (lead ^ (waiting & lead & trail)), so a
// row of characters is not held up by their judgement.
inline unsigned judgeInTurn(unsigned &waiting, unsigned role)
{
    const unsigned trail = role >> 1;
    const unsigned lead = role & Cp932LeadByte;
    const unsigned lone = waiting & ~trail;
    waiting = lead ^ (waiting & lead & trail);
    return lone;
}

// A line's character column of at most N captured bytes, with the code
// page 932 pass-through (see replaceLoneLeadBytes) applied as the bytes are
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
        const auto asItIs = [](std::uint8_t value) { return ColumnCell{value, cp932ByteRoles[value]}; };
        appendEach(std::array<std::uint8_t, 1>{b}, asItIs);
    }

    // Each of `values` as `cellOf` shows it, as append() would take them
    // one by one, with `also` called for every value as it comes (for
    // another part of the line, in the same loop). The bytes are stored
    // first; only when a lead byte came or one waits are they judged, in
    // registers from the bytes as they are (the same as judgeCp932Byte),
    // without branches: the byte before is rewritten whole, never read
    // back from the column just after it was rewritten.
    template<typename Values, typename CellOf, typename Also>
    void appendEach(const Values &values, CellOf cellOf, Also also)
    {
        char *const bytes = m_bytes + 1;
        const int start = m_size;
        int size = start;
        unsigned leads = m_waiting;
        const auto store = [&](ColumnCell cell) {
            bytes[size++] = char(cell.character);
            leads |= cell.role & Cp932LeadByte;
        };
        if (size + int(values.size()) <= N) {
            // Room for all: no check per byte.
            for (const auto value : values) {
                also(value);
                store(cellOf(value));
            }
        } else {
            for (const auto value : values) {
                also(value);
                if (size < N)
                    store(cellOf(value));
            }
        }
        m_size = size;
        if (!leads)
            return; // nothing waits, nothing can be alone
        unsigned waiting = m_waiting;
        char before = bytes[start - 1]; // the slot before the first byte when empty
        for (int i = start; i < size; ++i) {
            const char c = bytes[i];
            // All ones when the lead byte before stays alone.
            const char loneMask = char(-int(judgeInTurn(waiting, cp932ByteRoles[std::uint8_t(c)])));
            bytes[i - 1] = char((before & ~loneMask) | ('?' & loneMask));
            before = c;
        }
        m_waiting = waiting;
    }
    template<typename Values, typename CellOf>
    void appendEach(const Values &values, CellOf cellOf)
    {
        appendEach(values, cellOf, [](auto) {});
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
