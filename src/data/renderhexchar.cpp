// Hexadecimal-with-characters view: up to 16 bytes per line as hexadecimal
// digits (60 columns) and as characters, blocks numbered per direction.
#include "renderframe.h"

#include "capturedcolumn.h"
#include "characterrules.h"
#include "cp932.h"
#include "smalltext.h"
#include "texts.h"

#include <algorithm>
#include <vector>

namespace ferrox {

namespace {

constexpr qsizetype hexColumns = 60;
constexpr qsizetype markColumns = 13; // a block header or the continuation mark
constexpr int bytesPerLine = 16;

// The program's texts in code page 932, encoded once.
struct HexCharTexts
{
    QByteArray openJ1 = encodeCp932(DataTexts::blockOpenJ1());
    QByteArray openJ2 = encodeCp932(DataTexts::blockOpenJ2());
    QByteArray close = encodeCp932(DataTexts::blockClose());
    QByteArray continuation = encodeCp932(DataTexts::continuationMark());
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
            ++m_blockNumber[index(m_direction)];
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
        for (const std::uint8_t value : bytes) {
            m_value = value;
            const int hexStart = m_hex.size();
            m_hex.appendPadded(hexByteTexts[value].bytes, HexByteText::Size);
            completed(sender, hexStart, 2);
        }
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
        const int i = index(sender);
        if (++m_count[i] == bytesPerLine) {
            writePendingLine();
            m_mark.clear();
            m_mark.append(m_texts.continuation);
            m_count[i] = 0;
        }
    }

    void setBlockHeader(Direction sender)
    {
        m_mark.clear();
        m_mark.append(sender == Direction::J1 ? m_texts.openJ1 : m_texts.openJ2);
        const qint32 n = m_blockNumber[index(sender)] % 1000000;
        char digits[6];
        for (int i = 5, rest = n; i >= 0; --i, rest /= 10)
            digits[i] = char('0' + rest % 10);
        m_mark.append(QByteArrayView(digits, 6));
        m_mark.append(m_texts.close);
    }

    // The hex part (mark + digits) padded or cut to 60 columns, " |", the
    // characters, line end. Digits and spaces are one byte per column.
    void writePendingLine()
    {
        const qsizetype markWidth = m_mark.isEmpty() ? 0 : markColumns;
        const qsizetype digitColumns = hexColumns - markWidth;
        m_out.put(m_mark.view());
        if constexpr (Map::active)
            mapPendingLine(m_out.offset(), digitColumns);
        m_out.put(m_hex.view().first(std::min<qsizetype>(m_hex.size(), digitColumns)));
        m_out.putSpaces(digitColumns - m_hex.size());
        m_out.put(QByteArrayView(" |", 2));
        m_out.put(m_chars.finished());
        m_out.putLineEnd();
        m_mark.clear();
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
    // Block header or continuation mark (13 columns, at most two bytes
    // each), empty before any block; kept inline, since blocks change
    // with every change of sender.
    SmallText<2 * markColumns> m_mark;
    // A line is written when either sender's count reaches 16, so it holds
    // at most 31 bytes (15 of one sender, 16 of the other).
    SmallText<3 * 2 * bytesPerLine> m_hex; // "41 42 " ...
    CapturedColumn<2 * bytesPerLine> m_chars;  // character column, captured bytes
    qint32 m_blockNumber[2] = {1, 1};
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
