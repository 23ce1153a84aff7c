#include "bytecells.h"

#include "data/cp932.h"

#include <algorithm>
#include <limits>

namespace ferrox {

namespace {

// Walks code page 932 text forward, one shown character at a time, by the
// rules decodeLogText reads it with: a lead byte with its trail byte is
// one character, a run of CRs before an LF one line break, any other byte
// one character. Offsets asked for must not decrease.
class PositionWalker
{
public:
    explicit PositionWalker(QByteArrayView text) : m_text(text) {}

    // The position of the character that holds the byte at `offset`.
    qint32 positionOf(qsizetype offset)
    {
        while (m_offset + unitLength() <= offset) {
            m_offset += unitLength();
            ++m_position;
        }
        return m_position;
    }

private:
    qsizetype unitLength() const
    {
        const qsizetype size = m_text.size();
        if (m_offset >= size)
            return 1;
        const auto b = std::uint8_t(m_text[m_offset]);
        if (b == '\r') {
            qsizetype run = m_offset;
            while (run < size && m_text[run] == '\r')
                ++run;
            return run < size && m_text[run] == '\n' ? run + 1 - m_offset : 1;
        }
        if (isCp932LeadByte(b) && m_offset + 1 < size && isCp932TrailByte(std::uint8_t(m_text[m_offset + 1])))
            return 2;
        return 1;
    }

    QByteArrayView m_text;
    qsizetype m_offset = 0;
    qint32 m_position = 0;
};

} // namespace

ByteCells::ByteCells(QByteArrayView text, const ByteMap &map)
{
    m_bytes.resize(map.size());
    // Hex cells and character cells each grow with the byte index, so one
    // forward walk per kind converts them.
    PositionWalker hexWalker(text);
    PositionWalker charWalker(text);
    for (size_t i = 0; i < map.size(); ++i) {
        const MappedByte &m = map[i];
        Byte &b = m_bytes[i];
        b.sender = m.sender;
        b.value = m.value;
        if (m.hexCell != MappedByte::NoCell && m.hexLength > 0) {
            b.hexStart = hexWalker.positionOf(m.hexCell);
            b.hexEnd = hexWalker.positionOf(m.hexCell + m.hexLength - 1) + 1;
        }
        if (m.charCell != MappedByte::NoCell && m.charLength > 0) {
            b.charStart = charWalker.positionOf(m.charCell);
            b.charEnd = charWalker.positionOf(m.charCell + m.charLength - 1) + 1;
        }
    }
    m_spans.reserve(m_bytes.size() * 2);
    for (qint32 i = 0; i < qint32(m_bytes.size()); ++i) {
        const Byte &b = m_bytes[size_t(i)];
        if (b.hexEnd > b.hexStart)
            m_spans.push_back({b.hexStart, b.hexEnd, i, true});
        if (b.charEnd > b.charStart)
            m_spans.push_back({b.charStart, b.charEnd, i, false});
    }
    std::stable_sort(m_spans.begin(), m_spans.end(),
                     [](const Span &a, const Span &b) { return a.start < b.start; });
}

void ByteCells::followEdit(qint32 position, qint32 removed, qint32 added)
{
    const qint32 editEnd = position + removed;
    const qint32 shift = added - removed;
    // False when the edit reaches into the cell, which is then gone.
    const auto follow = [&](qint32 &start, qint32 &end) {
        if (end <= position)
            return true;
        if (start >= editEnd) {
            start += shift;
            end += shift;
            return true;
        }
        start = end = 0;
        return false;
    };
    for (Byte &b : m_bytes) {
        if (b.hexEnd > b.hexStart)
            follow(b.hexStart, b.hexEnd);
        if (b.charEnd > b.charStart)
            follow(b.charStart, b.charEnd);
    }
    std::erase_if(m_spans, [&](Span &span) { return !follow(span.start, span.end); });
}

std::vector<ByteCells::Span>::const_iterator ByteCells::spanAtOrAfter(qint32 position) const
{
    // Cells follow one another (the two bytes of a double-byte character
    // share it), so their ends are ordered like their starts.
    return std::upper_bound(m_spans.begin(), m_spans.end(), position,
                            [](qint32 p, const Span &s) { return p < s.end; });
}

std::pair<qint32, qint32> ByteCells::bytesIn(qint32 from, qint32 to) const
{
    qint32 first = std::numeric_limits<qint32>::max();
    qint32 last = -1;
    const auto begin = spanAtOrAfter(from);
    for (auto it = begin; it != m_spans.end() && it->start < to; ++it) {
        if (it->hex != begin->hex)
            continue;
        first = std::min(first, it->byte);
        last = std::max(last, it->byte);
    }
    return last < 0 ? std::pair<qint32, qint32>{0, 0} : std::pair<qint32, qint32>{first, last + 1};
}

QByteArray ByteCells::values() const
{
    QByteArray out;
    out.reserve(qsizetype(m_bytes.size()));
    for (const Byte &b : m_bytes)
        out.append(char(b.value));
    return out;
}

} // namespace ferrox
