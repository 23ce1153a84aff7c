#pragma once

#include "data/bytemap.h"

#include <QByteArray>
#include <QByteArrayView>

#include <utility>
#include <vector>

namespace ferrox {

// A rendering's byte map in the character positions of the text a log
// window shows for it (decodeLogText: a double-byte character is one
// position, "CR CR LF" one line break). Units: positions in the document;
// byte indices count monitored bytes from 0 in the order of the stream.
class ByteCells
{
public:
    // Half-open ranges of positions; start == end: no such cell.
    struct Byte
    {
        qint32 hexStart = 0;
        qint32 hexEnd = 0;
        qint32 charStart = 0;
        qint32 charEnd = 0;
        Direction sender = Direction::None;
        std::uint8_t value = 0;
    };
    // One cell, for walking a line's cells in the order of the text.
    struct Span
    {
        qint32 start;
        qint32 end;
        qint32 byte; // index into bytes()
        bool hex;    // a hex cell, else a character cell
    };

    ByteCells() = default;
    // `text` is the rendering the map was made with.
    ByteCells(QByteArrayView text, const ByteMap &map);

    bool isEmpty() const { return m_bytes.empty(); }
    qsizetype size() const { return qsizetype(m_bytes.size()); }
    const std::vector<Byte> &bytes() const { return m_bytes; }
    // Every cell, ordered by start position.
    const std::vector<Span> &spans() const { return m_spans; }

    // The first span that ends after `position`.
    std::vector<Span>::const_iterator spanAtOrAfter(qint32 position) const;
    // The bytes with a cell in [from, to) of the kind the first such cell
    // is (a selection of hex digits over several lines does not take in
    // the character columns between them): first and one past the last
    // index; first == last when there are none.
    std::pair<qint32, qint32> bytesIn(qint32 from, qint32 to) const;

    // Follows an edit of the text at `position` that removed `removed`
    // positions and added `added`: cells before it stay, cells after it
    // move with their text, cells the edit reaches into are gone (their
    // bytes keep their index).
    void followEdit(qint32 position, qint32 removed, qint32 added);

    // The values of all bytes, for searching.
    QByteArray values() const;

private:
    std::vector<Byte> m_bytes;
    std::vector<Span> m_spans;
};

} // namespace ferrox
