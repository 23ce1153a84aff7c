#pragma once

// The renderers' output: bytes appended to a QByteArray through a raw
// pointer, so a full buffer's text (several MB) is written without a size
// check and reallocation per byte. Output is code page 932 bytes.
//
// Or handed out in pieces as it grows, for a caller that only passes the
// text on (the command line's standard output): the whole text never sits
// in memory, and a fresh process does not fault in megabytes of pages it
// writes once.

#include "streamformat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace ferrox {

// Takes the next piece of a text; false when it could not be passed on
// (the rest of the text is then dropped).
using TextPieceWriter = std::function<bool(QByteArrayView piece)>;

// A byte's hexadecimal text and the space after it, "41 ", in four bytes:
// one four-byte copy writes it, and what follows writes over the fourth.
struct HexByteText
{
    static constexpr int Size = 3;
    char bytes[4];
};

inline constexpr std::array<HexByteText, 256> hexByteTexts = [] {
    std::array<HexByteText, 256> texts{};
    for (unsigned value = 0; value < 256; ++value)
        texts[value] = {{hexDigit(value >> 4), hexDigit(value), ' ', ' '}};
    return texts;
}();

// Writes "41 " of `value` at `at` (four bytes must be free there) and
// returns where it ends.
inline char *writeHexByte(char *at, std::uint8_t value)
{
    std::memcpy(at, hexByteTexts[value].bytes, sizeof(HexByteText::bytes));
    return at + HexByteText::Size;
}

// A line, block or row number as the renderers write it: its last six
// decimal digits with leading zeros. Counted on as text in one 64-bit word,
// digit k from the right in byte k as 0xF6 + the digit, so a 9 is 0xFF
// and adding 1 carries through the nines by itself. Kept in a register or
// a word: as six bytes in memory, a number would be read back just after
// its digits were stored, and the read waits for the stores.
class LineNumber
{
public:
    static constexpr int Digits = 6;

    explicit LineNumber(qint32 start = 0)
    {
        qint64 value = start % 1000000;
        if (value < 0)
            value += 1000000;
        m_word = 0;
        for (int k = 0; k < Digits; ++k, value /= 10)
            m_word |= std::uint64_t(0xF6 + value % 10) << (8 * k);
    }

    void next()
    {
        step();
        carry();
    }
    // The units digit counted on alone: at most stepsBeforeCarry() times
    // before carry().
    void step() { ++m_word; }
    int stepsBeforeCarry() const { return int(0x100 - (m_word & 0xFF)); }
    void carry()
    {
        const std::uint64_t word = m_word & digitBytes;
        // The nines carried through are now zero bytes: back to 0xF6. No
        // other byte is zero or low enough to borrow from its neighbour.
        const std::uint64_t wrapped = ((word - ones) & ~word & (ones << 7)) >> 7;
        m_word = word | wrapped * 0xF6;
    }

    // The six digits at `at`; returns where they end.
    char *writeTo(char *at) const
    {
        const std::uint64_t text = __builtin_bswap64((m_word - ones * 0xC6) << 16); // 0xF6 - 0xC6 = '0'
        std::memcpy(at, &text, Digits);
        return at + Digits;
    }

private:
    static constexpr std::uint64_t digitBytes = 0xFFFFFFFFFFFFull;
    static constexpr std::uint64_t ones = 0x010101010101ull;
    std::uint64_t m_word;
};

// A label of a line (a block header, a continuation mark) as a line
// writes it: one copy of Capacity bytes, the first `size` kept. A numbered
// label has six digits at `numberAt` for the block number.
struct LabelText
{
    static constexpr int Capacity = 32;

    // With a number between `open` and `close`, or the text alone.
    LabelText(const QByteArray &open, const QByteArray &close, bool numbered)
        : numberAt(numbered && open.size() + LineNumber::Digits <= Capacity ? int(open.size()) : -1)
    {
        const QByteArray text = numbered ? open + QByteArray(LineNumber::Digits, '0') + close : open;
        size = int(std::min<qsizetype>(text.size(), Capacity));
        std::memcpy(bytes, text.constData(), size_t(size));
    }

    // Writes the label at `at`, numbered n when it has a number (a copy
    // of Capacity bytes); returns where it ends.
    char *writeTo(char *at, const LineNumber &n) const
    {
        std::memcpy(at, bytes, Capacity);
        if (numberAt >= 0)
            n.writeTo(at + numberAt);
        return at + size;
    }

    char bytes[Capacity] = {};
    int size = 0;
    int numberAt = -1; // -1: no number
};

class TextSink
{
public:
    static constexpr qsizetype PieceBytes = 64 * 1024;

    // Appends after what `target` holds; `expected` bytes are set aside at
    // once. finish() gives `target` its final size. With `pieces`, what
    // `target` holds and every byte after it go to `pieces` instead, in
    // pieces of about PieceBytes, and `target` ends empty; offset() then
    // counts within the current piece only (no byte map in pieces).
    TextSink(QByteArray &target, qsizetype expected, const TextPieceWriter *pieces = nullptr)
        : m_target(target), m_pieces(pieces && *pieces ? pieces : nullptr)
    {
        if (m_pieces)
            expected = std::min(expected, PieceBytes);
        const qsizetype used = m_target.size();
        m_target.resize(used + std::max<qsizetype>(expected, 256));
        m_begin = m_target.data();
        m_pos = m_begin + used;
        m_end = m_begin + m_target.size();
    }
    TextSink(const TextSink &) = delete;
    TextSink &operator=(const TextSink &) = delete;

    void finish()
    {
        if (m_pieces)
            handOut();
        m_target.resize(m_pos - m_begin);
    }
    // With pieces: whether every piece was passed on.
    bool piecesWritten() const { return m_piecesWritten; }

    // Bytes of the target written so far, header included: where the next
    // byte goes.
    qsizetype offset() const { return m_pos - m_begin; }

    void put(char c)
    {
        ensure(1);
        *m_pos++ = c;
    }
    void put(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return;
        ensure(bytes.size());
        std::memcpy(m_pos, bytes.data(), size_t(bytes.size()));
        m_pos += bytes.size();
    }
    void putLineEnd() { put(QByteArrayView("\r\n", 2)); }

    // Room for up to `n` bytes written straight at the pointer returned;
    // advanceTo() then says where they end. For a row whose parts are
    // known: one check of the room instead of one per part.
    char *claim(qsizetype n)
    {
        ensure(n);
        return m_pos;
    }
    void advanceTo(char *end) { m_pos = end; }
    // offset() of a byte written after claim().
    qsizetype offsetOf(const char *at) const { return at - m_begin; }

    // A sink without pieces also serves as a scratch buffer for text
    // built before it is written: what it holds, and emptying it (its
    // room is kept).
    QByteArrayView written() const { return QByteArrayView(m_begin, m_pos - m_begin); }
    void rewind() { m_pos = m_begin; }

    // A count below zero writes nothing.
    void putSpaces(qsizetype count)
    {
        if (count <= 0)
            return;
        ensure(count);
        std::memset(m_pos, ' ', size_t(count));
        m_pos += count;
    }

    void putLineNumber(const LineNumber &n)
    {
        ensure(LineNumber::Digits);
        m_pos = n.writeTo(m_pos);
    }

    // `count` underscores, then CR and a line end.
    void putRule(qsizetype count)
    {
        ensure(count + 3);
        std::memset(m_pos, '_', size_t(count));
        std::memcpy(m_pos + count, "\r\r\n", 3);
        m_pos += count + 3;
    }

private:
    void ensure(qsizetype n)
    {
        if (m_end - m_pos < n)
            grow(n);
    }
    void grow(qsizetype n)
    {
        if (m_pieces) {
            handOut();
            if (m_end - m_pos >= n)
                return;
        }
        const qsizetype used = m_pos - m_begin;
        m_target.resize(std::max(m_target.size() * 2, used + n));
        m_begin = m_target.data();
        m_pos = m_begin + used;
        m_end = m_begin + m_target.size();
    }

    void handOut()
    {
        if (m_piecesWritten && m_pos > m_begin)
            m_piecesWritten = (*m_pieces)(QByteArrayView(m_begin, m_pos - m_begin));
        m_pos = m_begin;
    }

    QByteArray &m_target;
    const TextPieceWriter *m_pieces;
    bool m_piecesWritten = true;
    char *m_begin = nullptr;
    char *m_pos = nullptr;
    char *m_end = nullptr;
};

// A mode's fixed texts, encoded to code page 932 on first use and kept.
template<typename Texts>
const Texts &encodedOnce()
{
    static const Texts texts;
    return texts;
}

} // namespace ferrox
