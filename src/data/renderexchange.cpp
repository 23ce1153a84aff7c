// Exchange view: J1's bytes on the left half of an 80-column line, J2's on
// the right, eight per line, each side's hexadecimal and character columns
// mirrored around a 16-column centre label.
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

constexpr int bytesPerLine = 8;
constexpr int hexWidth = 23; // eight "41" with a space between
constexpr int charWidth = 8;

// The program's texts in code page 932, encoded once.
struct ExchangeTexts
{
    LabelText openJ1{encodeCp932(DataTexts::centreOpenJ1()), encodeCp932(DataTexts::centreCloseJ1()), true};
    LabelText openJ2{encodeCp932(DataTexts::centreOpenJ2()), encodeCp932(DataTexts::centreCloseJ2()), true};
    LabelText continuation{encodeCp932(DataTexts::centreContinuation()), {}, false};
};

// The fixed parts of a line: the side without bytes, next to the label.
constexpr char j2EmptySide[] = "        |                       ";     // characters, "|", hex part
constexpr char j1EmptySide[] = "                       |        \r\n"; // hex part, "|", characters, line end
static_assert(sizeof j2EmptySide - 1 == charWidth + 1 + hexWidth);
static_assert(sizeof j1EmptySide - 1 == hexWidth + 1 + charWidth + 2);

// A line's bytes besides a hex part wider than hexWidth, with room for
// the fixed-size copies past the end of the last parts.
constexpr int maxLineBytes = charWidth + 1 + hexWidth + LabelText::Capacity + hexWidth + 1 + charWidth + 2 + 16;

template<typename Map>
class ExchangeMode
{
public:
    ExchangeMode(TextSink &out, Map &map)
        : m_out(out), m_map(map)
    {
    }

    void preamble(std::uint8_t) { m_out.putRule(80); }

    bool high(Direction, std::uint8_t value)
    {
        m_byteText.clear();
        m_byteText.append(hexDigit(value));
        m_value = value * 16;
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        // Repeated low nibbles lengthen the byte's text; beyond a line's
        // hexadecimal width it shows nothing more, and the output stays
        // linear in the data.
        if (m_byteText.size() + 2 <= hexWidth) {
            m_byteText.append(hexDigit(value));
            m_byteText.append(' ');
        }
        m_value += value;
        endLineBefore(sender);
        addByte(sender, digitsOf(m_byteText.view()));
        appendByteText();
        return true;
    }

    bool run(Direction sender, SoundRun bytes)
    {
        // The first byte may end the line before it; the rest of the run
        // comes in pieces that fill lines.
        endLineBefore(sender);
        RunPieces rest(bytes);
        for (;;) {
            const RunPieces::Piece piece = rest.next(bytesPerLine - m_count);
            appendPiece(m_hex, m_chars, piece, m_map, m_pending, sender);
            m_count += piece.size();
            if (rest.done())
                break;
            writeLine(sender);
        }
        m_value = bytes.last();
        // Kept as low() keeps it, for a repeated low nibble after the run.
        m_byteText.clear();
        m_byteText.appendPadded(hexByteTexts[bytes.last()].bytes, HexByteText::Size);
        return true;
    }

    void close()
    {
        // The opposite label forces the last line out.
        const Direction label = m_sender.closing();
        if (label != Direction::None)
            endLineBefore(label);
    }

private:
    static int index(Direction d) { return d == Direction::J1 ? 0 : 1; }

    // A byte of `label` completes: the line before it is written when the
    // sender changed or the line is full.
    void endLineBefore(Direction label)
    {
        const Direction ended = m_sender.next(label);
        if (ended != Direction::None) {
            writeLine(ended);
            m_blockNumber[index(ended)].next();
            m_continuing = false;
        } else if (m_count == bytesPerLine) {
            writeLine(label);
        }
    }

    // The completed byte's cell and character; its hex text follows.
    void addByte(Direction label, int digits)
    {
        if constexpr (Map::active)
            m_pending.push_back({m_map.add(label, m_value), m_hex.size(), digits, m_chars.size()});
        m_chars.append(std::uint8_t(columnCharacter(m_value)));
        ++m_count;
    }

    // A sound byte's "41 " byte by byte: copied as a block just after its
    // bytes were stored one at a time, the copy stalls on reading them.
    void appendByteText()
    {
        const QByteArrayView text = m_byteText.view();
        if (text.size() != 3) {
            m_hex.append(text);
            return;
        }
        for (const char c : text)
            m_hex.append(c);
    }

    // The line's centre label at `at`; returns where it ends.
    char *writeCentreLabel(char *at, Direction side)
    {
        const LabelText &label = m_continuing ? m_texts.continuation
                                              : side == Direction::J1 ? m_texts.openJ1 : m_texts.openJ2;
        m_continuing = true;
        return label.writeTo(at, m_blockNumber[index(side)]);
    }

    // The hex part at `at`, `size` bytes of it (trimmed), padded to its
    // width with spaces before it (`right`) or after it; returns where it
    // ends.
    char *writeHex(char *at, int size, bool right)
    {
        if (size > hexWidth) {
            // Only repeated low nibbles make it wider: no padding then.
            std::memcpy(at, m_hex.view().data(), size_t(size));
            return at + size;
        }
        std::memcpy(at, right ? m_hex.rightAligned(size) : m_hex.leftAligned(), hexWidth);
        return at + hexWidth;
    }

    // A line is written as a whole into room claimed once: fixed-size
    // copies of its parts, each later one written over what the one before
    // wrote past its end.
    void writeLine(Direction side)
    {
        // Every byte's text ends in a digit and a space: only the space
        // after the last byte goes. (Counted, not looked at: the text's
        // last bytes were just stored.)
        const int hexSize = std::max(m_hex.size() - 1, 0);
        const QByteArrayView chars = m_chars.finished();
        char *const line = m_out.claim(maxLineBytes + hexSize);
        char *at = line;
        if (side == Direction::J1) {
            std::memcpy(at, chars.data(), charWidth); // padded with spaces
            at[charWidth] = '|';
            at += charWidth + 1;
            const char *hex = at + std::max(hexWidth - hexSize, 0);
            at = writeHex(at, hexSize, true);
            mapPendingLine(m_out.offsetOf(hex), m_out.offsetOf(line));
            at = writeCentreLabel(at, side);
            std::memcpy(at, j1EmptySide, sizeof j1EmptySide - 1);
            at += sizeof j1EmptySide - 1;
        } else {
            std::memcpy(at, j2EmptySide, sizeof j2EmptySide - 1);
            at = writeCentreLabel(at + sizeof j2EmptySide - 1, side);
            const char *hex = at;
            at = writeHex(at, hexSize, false);
            *at++ = '|';
            mapPendingLine(m_out.offsetOf(hex), m_out.offsetOf(at));
            std::memcpy(at, chars.data(), charWidth);
            at += chars.size();
            std::memcpy(at, "\r\n", 2);
            at += 2;
        }
        m_out.advanceTo(at);
        m_hex.clear();
        m_chars.clear();
        m_count = 0;
    }

    // A byte's text without the space after it.
    static int digitsOf(QByteArrayView byteText)
    {
        int n = int(byteText.size());
        while (n > 0 && byteText[n - 1] == ' ')
            --n;
        return n;
    }

    // The hex part starts with a digit, so trimming only drops the space
    // after the last byte: cells keep their place in it.
    void mapPendingLine(qsizetype hexBase, qsizetype charBase)
    {
        if constexpr (!Map::active)
            return;
        for (const PendingCell &cell : m_pending) {
            m_map.setHex(cell.index, hexBase + cell.hex, cell.digits);
            m_map.setChar(cell.index, charBase + cell.character, 1);
        }
        m_pending.clear();
    }

    TextSink &m_out;
    Map &m_map;
    std::vector<PendingCell> m_pending; // keeps its allocation from line to line
    const ExchangeTexts &m_texts = encodedOnce<ExchangeTexts>();

    // At most eight bytes per line, each with a text of at most 23.
    SmallText<bytesPerLine * hexWidth, hexWidth, hexWidth> m_hex; // "41 42 " ...
    CapturedColumn<bytesPerLine> m_chars;         // character column, captured bytes
    SmallText<hexWidth> m_byteText;           // the byte being assembled, "4" then "41 "
    int m_count = 0;
    bool m_continuing = false; // the block's first line has been written
    LineNumber m_blockNumber[2] = {LineNumber(1), LineNumber(1)};
    int m_value = 0;
    SenderChange m_sender;
};

} // namespace

RenderResult RenderExchange(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                            const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<ExchangeMode>(capture, header, progress, {2, 2, 6}, byteMap, pieces);
}

} // namespace ferrox
