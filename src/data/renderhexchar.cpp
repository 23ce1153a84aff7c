// Hexadecimal-with-characters view: up to 16 bytes per line as hexadecimal
// digits (60 columns) and as characters, blocks numbered per direction.
#include "renderframe.h"

#include "capturedcolumn.h"
#include "characterrules.h"
#include "cp932.h"
#include "smalltext.h"
#include "texts.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ferrox {

namespace {

constexpr int hexColumns = 60;
constexpr int markColumns = 13; // a block header or the continuation mark
constexpr int bytesPerLine = 16;
// A line's bytes, with room for the fixed-size copies past the end of its
// parts: the mark, the hex part, " |", the characters (a line holds at most
// 31 bytes), the line end.
constexpr int maxLineBytes = LabelText::Capacity + hexColumns + 2 + 2 * bytesPerLine + 2;

// The program's texts in code page 932, encoded once.
struct HexCharTexts
{
    LabelText openJ1{encodeCp932(DataTexts::blockOpenJ1()), encodeCp932(DataTexts::blockClose()), true};
    LabelText openJ2{encodeCp932(DataTexts::blockOpenJ2()), encodeCp932(DataTexts::blockClose()), true};
    LabelText continuation{encodeCp932(DataTexts::continuationMark()), {}, false};
};

template<typename Map>
class HexCharMode
{
public:
    HexCharMode(TextSink &out, Map &map)
        : m_out(out), m_map(map)
    {
    }

    void preamble(std::uint8_t first)
    {
        m_out.putRule(79);
        const StreamTagMeaning &tag = decodeTag(first);
        if (tag.kind == TagKind::High) {
            m_direction = tag.sender;
            setBlockHeader(tag.sender);
        }
    }

    bool high(Direction sender, std::uint8_t value)
    {
        if (m_direction == opposite(sender)) {
            // A new block: the block just ended counts on.
            m_blockNumber[index(m_direction)].next();
            m_count[index(Direction::J1)] = 0;
            if (sender == Direction::J1)
                m_count[index(Direction::J2)] = 0;
            writePendingLine();
            setBlockHeader(sender);
        }
        m_high[index(sender)] = hexDigit(value);
        m_value = value * 16;
        m_direction = sender;
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        m_value += value;
        const char high = m_high[index(sender)];
        const int hexStart = m_hex.size();
        // Byte by byte: a text assembled on the stack and copied as a whole
        // stalls the copy's read of it.
        if (high)
            m_hex.append(high);
        m_hex.append(hexDigit(value));
        m_hex.append(' ');
        completed(sender, hexStart, high ? 2 : 1);
        return true;
    }

    bool run(Direction sender, SoundRun bytes)
    {
        // A block is started by the first byte; the last one's high digit
        // is the one kept.
        high(sender, bytes.last() >> 4);
        // The rest in pieces that fill the sender's line.
        int &count = m_count[index(sender)];
        RunPieces rest(bytes);
        while (!rest.done()) {
            const RunPieces::Piece piece = rest.next(bytesPerLine - count);
            appendPiece(m_hex, m_chars, piece, m_map, m_pending, sender);
            count += piece.size();
            if (count == bytesPerLine)
                lineFilled(count);
        }
        m_value = bytes.last();
        return true;
    }

    void close() { writePendingLine(); }

private:
    static int index(Direction d) { return d == Direction::J1 ? 0 : 1; }

    // The byte's hex digits are in the line from hexStart: its character,
    // and the line is written when the sender has filled it.
    void completed(Direction sender, int hexStart, int digits)
    {
        if constexpr (Map::active)
            m_pending.push_back({m_map.add(sender, m_value), hexStart, digits, m_chars.size()});
        m_chars.append(std::uint8_t(columnCharacter(m_value)));
        int &count = m_count[index(sender)];
        if (++count == bytesPerLine)
            lineFilled(count);
    }

    // A sender's 16th byte on the line: the line goes, the next one is
    // a continuation.
    void lineFilled(int &count)
    {
        writePendingLine();
        m_mark = &m_texts.continuation;
        count = 0;
    }

    void setBlockHeader(Direction sender)
    {
        m_mark = sender == Direction::J1 ? &m_texts.openJ1 : &m_texts.openJ2;
        m_markNumber = m_blockNumber[index(sender)];
    }

    // The hex part (mark + digits) padded or cut to 60 columns, " |", the
    // characters, line end. Digits and spaces are one byte per column.
    // Written whole into room claimed once: fixed-size copies of its
    // parts, each later one written over what the one before wrote past
    // its end.
    void writePendingLine()
    {
        const int markWidth = m_mark ? markColumns : 0;
        const int digitColumns = hexColumns - markWidth;
        const QByteArrayView chars = m_chars.finished();
        char *at = m_out.claim(maxLineBytes);
        if (m_mark)
            at = m_mark->writeTo(at, m_markNumber);
        if constexpr (Map::active)
            mapPendingLine(m_out.offsetOf(at), digitColumns);
        std::memcpy(at, m_hex.leftAligned(), hexColumns); // padded with spaces, then cut
        at += digitColumns;
        std::memcpy(at, " |", 2);
        std::memcpy(at + 2, chars.data(), bytesPerLine * 2);
        at += 2 + chars.size();
        std::memcpy(at, "\r\n", 2);
        m_out.advanceTo(at + 2);
        m_mark = nullptr;
        m_hex.clear();
        m_chars.clear();
    }

    // The line's digits start at hexBase; its characters follow the digit
    // columns and " |". Digits the cut at the column width dropped have no
    // cell.
    void mapPendingLine(qsizetype hexBase, qsizetype digitColumns)
    {
        const qsizetype charBase = hexBase + digitColumns + 2;
        for (const PendingCell &cell : m_pending) {
            const qsizetype shown = std::min<qsizetype>(cell.digits, digitColumns - cell.hex);
            if (shown > 0)
                m_map.setHex(cell.index, hexBase + cell.hex, shown);
            m_map.setChar(cell.index, charBase + cell.character, 1);
        }
        m_pending.clear();
    }

    TextSink &m_out;
    Map &m_map;
    std::vector<PendingCell> m_pending; // keeps its allocation from line to line
    const HexCharTexts &m_texts = encodedOnce<HexCharTexts>();

    Direction m_direction = Direction::None;
    // Block header or continuation mark (13 columns), none before any
    // block; a header shows the block number taken when the block began.
    const LabelText *m_mark = nullptr;
    LineNumber m_markNumber;
    // A line is written when either sender's count reaches 16, so it holds
    // at most 31 bytes (15 of one sender, 16 of the other).
    SmallText<3 * 2 * bytesPerLine, hexColumns> m_hex; // "41 42 " ..., padded to the widest hex part
    CapturedColumn<2 * bytesPerLine> m_chars;  // character column, captured bytes
    LineNumber m_blockNumber[2] = {LineNumber(1), LineNumber(1)};
    int m_count[2] = {0, 0};
    char m_high[2] = {0, 0}; // per sender; 0: no digit stored
    int m_value = 0;         // one assembled value for both senders
};

} // namespace

RenderResult RenderHexChar(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                           const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<HexCharMode>(capture, header, progress, {0, 5, 3}, byteMap, pieces);
}

} // namespace ferrox
