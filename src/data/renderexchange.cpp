// Exchange view: J1's bytes on the left half of an 80-column line, J2's on
// the right, eight per line, each side's hexadecimal and character columns
// mirrored around a 16-column centre label.
#include "renderframe.h"

#include "capturedcolumn.h"
#include "characterrules.h"
#include "cp932.h"
#include "smalltext.h"
#include "texts.h"

#include <vector>

namespace ferrox {

namespace {

constexpr int bytesPerLine = 8;
constexpr qsizetype hexWidth = 23; // eight "41" with a space between
constexpr qsizetype charWidth = 8;

// The program's texts in code page 932, encoded once.
struct ExchangeTexts
{
    QByteArray openJ1 = encodeCp932(DataTexts::centreOpenJ1());
    QByteArray closeJ1 = encodeCp932(DataTexts::centreCloseJ1());
    QByteArray openJ2 = encodeCp932(DataTexts::centreOpenJ2());
    QByteArray closeJ2 = encodeCp932(DataTexts::centreCloseJ2());
    QByteArray continuation = encodeCp932(DataTexts::centreContinuation());
};

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
        for (const std::uint8_t value : bytes) {
            m_value = value;
            endLineBefore(sender);
            addByte(sender, 2);
            m_hex.appendPadded(hexByteTexts[value].bytes, HexByteText::Size);
        }
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
            ++m_blockNumber[index(ended)];
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

    void putCentreLabel(Direction side)
    {
        if (m_continuing) {
            m_out.put(m_texts.continuation);
            return;
        }
        m_continuing = true;
        m_out.put(side == Direction::J1 ? m_texts.openJ1 : m_texts.openJ2);
        m_out.putLineNumber(m_blockNumber[index(side)]);
        m_out.put(side == Direction::J1 ? m_texts.closeJ1 : m_texts.closeJ2);
    }

    void writeLine(Direction side)
    {
        // The hex part starts with a digit: only the space after its last
        // byte goes.
        QByteArrayView hex = m_hex.view();
        while (!hex.isEmpty() && hex.back() == ' ')
            hex.chop(1);
        if (side == Direction::J1) {
            const qsizetype charBase = m_out.offset();
            m_out.put(m_chars.finished());
            m_out.putSpaces(charWidth - m_chars.size());
            m_out.put('|');
            m_out.putSpaces(hexWidth - hex.size());
            mapPendingLine(m_out.offset(), charBase);
            m_out.put(hex);
            putCentreLabel(side);
            m_out.putSpaces(hexWidth);
            m_out.put('|');
            m_out.putSpaces(charWidth);
        } else {
            m_out.putSpaces(charWidth);
            m_out.put('|');
            m_out.putSpaces(hexWidth);
            putCentreLabel(side);
            const qsizetype hexBase = m_out.offset();
            m_out.put(hex);
            m_out.putSpaces(hexWidth - hex.size());
            m_out.put('|');
            mapPendingLine(hexBase, m_out.offset());
            m_out.put(m_chars.finished());
        }
        m_out.putLineEnd();
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
    SmallText<bytesPerLine * hexWidth> m_hex; // "41 42 " ...
    CapturedColumn<bytesPerLine> m_chars;         // character column, captured bytes
    SmallText<hexWidth> m_byteText;           // the byte being assembled, "4" then "41 "
    int m_count = 0;
    bool m_continuing = false; // the block's first line has been written
    qint32 m_blockNumber[2] = {1, 1};
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
