// Hexadecimal-with-characters view: up to 16 bytes per line as hexadecimal
// digits (60 columns) and as characters, blocks numbered per direction.
#include "renderframe.h"

#include "characterrules.h"
#include "cp932.h"
#include "textoutput.h"
#include "texts.h"

#include <algorithm>

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

class HexCharMode
{
public:
    explicit HexCharMode(QByteArray &out)
        : m_out(out)
    {
    }

    void preamble(std::uint8_t first)
    {
        TextOutput::appendRule(m_out, 79);
        if (tagOf(first) == StreamTag::J2High) {
            m_direction = Direction::J2;
            setBlockHeader(Direction::J2);
        } else if (tagOf(first) == StreamTag::J1High) {
            m_direction = Direction::J1;
            setBlockHeader(Direction::J1);
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
        const int i = index(sender);
        m_value += value;
        if (m_high[i])
            m_hex.append(m_high[i]);
        m_hex.append(hexDigit(value));
        m_hex.append(' ');
        m_chars.append(char(columnCharacter(m_value)));
        if (++m_count[i] == bytesPerLine) {
            writePendingLine();
            m_mark = m_texts.continuation;
            m_count[i] = 0;
        }
        return true;
    }

    void close() { writePendingLine(); }

private:
    static int index(Direction d) { return d == Direction::J1 ? 0 : 1; }

    void setBlockHeader(Direction sender)
    {
        m_mark = sender == Direction::J1 ? m_texts.openJ1 : m_texts.openJ2;
        TextOutput::appendLineNumber(m_mark, m_blockNumber[index(sender)]);
        m_mark.append(m_texts.close);
    }

    // The hex part (mark + digits) padded or cut to 60 columns, " |", the
    // characters, line end. Digits and spaces are one byte per column.
    void writePendingLine()
    {
        const qsizetype markWidth = m_mark.isEmpty() ? 0 : markColumns;
        const qsizetype digitColumns = hexColumns - markWidth;
        m_out.append(m_mark);
        m_out.append(m_hex.constData(), std::min(m_hex.size(), digitColumns));
        TextOutput::appendSpaces(m_out, digitColumns - m_hex.size());
        m_out.append(" |", 2);
        appendCapturedBytes(m_out, m_chars);
        TextOutput::appendLineEnd(m_out);
        m_mark.clear();
        m_hex.resize(0);
        m_chars.resize(0);
    }

    QByteArray &m_out;
    const HexCharTexts &m_texts = encodedOnce<HexCharTexts>();

    Direction m_direction = Direction::None;
    QByteArray m_mark;  // block header or continuation mark, empty before any block
    QByteArray m_hex;   // "41 42 " ...
    QByteArray m_chars; // character column, captured bytes
    qint32 m_blockNumber[2] = {1, 1};
    int m_count[2] = {0, 0};
    char m_high[2] = {0, 0}; // per sender; 0: no digit stored
    int m_value = 0;         // one assembled value for both senders
};

} // namespace

RenderResult RenderHexChar(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                           const ProgressCallback &progress)
{
    return runRenderFrame<HexCharMode>(capture, header, progress, {0, 5, 3});
}

} // namespace ferrox
