#pragma once

#include "streamformat.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace ferrox {

// Where one monitored byte shows in a rendering. Offsets count bytes of
// the rendered text (code page 932, header included); a cell is the run
// of text that stands for the byte: "41" in a hexadecimal column, the
// character (or "[STX]", a TAB, a CR LF) in a character column. A mode
// without such a column, or a cell the layout cut off, has offset -1.
struct MappedByte
{
    static constexpr qint32 NoCell = -1;

    qint32 hexCell = NoCell;
    qint32 charCell = NoCell;
    std::uint8_t hexLength = 0;
    std::uint8_t charLength = 0;
    Direction sender = Direction::None;
    // The byte's value; only its low eight bits when malformed data
    // assembled more.
    std::uint8_t value = 0;
};

// One entry per monitored byte, in the order of the stream: every low
// nibble (tag 0x9 or 0xB) met before the end code is one byte. A rendering
// that ended early on malformed data keeps the entries of what it wrote.
using ByteMap = std::vector<MappedByte>;

// A byte of a line still being built, for the modes that place a line only
// when it is complete: its map entry and where its hex digits and its
// character sit within the line's hex and character parts.
struct PendingCell
{
    qint32 index;
    int hex;
    int digits;
    int character;
};

// What a mode records while it writes. The modes are made for this or
// for NoByteMap, so a rendering without a map compiles without the
// recording.
class ByteMapRecorder
{
public:
    static constexpr bool active = true;

    explicit ByteMapRecorder(ByteMap &map) : m_map(map) {}

    // A completed byte; its cells follow when written.
    qint32 add(Direction sender, int value)
    {
        MappedByte b;
        b.sender = sender;
        b.value = std::uint8_t(value & 0xFF);
        m_map.push_back(b);
        return qint32(m_map.size() - 1);
    }
    void setHex(qint32 index, qsizetype offset, qsizetype length)
    {
        m_map[size_t(index)].hexCell = qint32(offset);
        m_map[size_t(index)].hexLength = std::uint8_t(qMin<qsizetype>(length, 255));
    }
    void setChar(qint32 index, qsizetype offset, qsizetype length)
    {
        m_map[size_t(index)].charCell = qint32(offset);
        m_map[size_t(index)].charLength = std::uint8_t(qMin<qsizetype>(length, 255));
    }
    // The rendering ended early: bytes never written leave the map.
    void dropUnwritten()
    {
        while (!m_map.empty() && m_map.back().hexCell == MappedByte::NoCell
               && m_map.back().charCell == MappedByte::NoCell)
            m_map.pop_back();
    }

private:
    ByteMap &m_map;
};

// The recorder of a rendering without a map: records nothing.
struct NoByteMap
{
    static constexpr bool active = false;

    qint32 add(Direction, int) { return 0; }
    void setHex(qint32, qsizetype, qsizetype) {}
    void setChar(qint32, qsizetype, qsizetype) {}
    void dropUnwritten() {}
};

} // namespace ferrox
