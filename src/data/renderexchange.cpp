// Exchange view: J1's bytes on the left half of an 80-column line, J2's on
// the right, eight per line, each side's hexadecimal and character columns
// mirrored around a 16-column centre label.
#include "renderframe.h"

#include "characterrules.h"
#include "cp932.h"
#include "textoutput.h"
#include "texts.h"

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

class ExchangeMode
{
public:
    explicit ExchangeMode(QByteArray &out)
        : m_out(out)
    {
    }

    void preamble(std::uint8_t) { TextOutput::appendRule(m_out, 80); }

    bool high(Direction, std::uint8_t value)
    {
        m_byteText.resize(0);
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
        completed(sender, false);
        return true;
    }

    void close()
    {
        // The opposite label forces the last line out.
        const Direction label = opposite(m_previous);
        if (label != Direction::None)
            completed(label, true);
    }

private:
    static int index(Direction d) { return d == Direction::J1 ? 0 : 1; }

    void completed(Direction label, bool atEnd)
    {
        const Direction previous = m_previous;
        m_previous = label;
        if (previous == opposite(label) && previous != Direction::None) {
            writeLine(previous);
            ++m_blockNumber[index(previous)];
            m_continuing = false;
        } else if (m_count == bytesPerLine) {
            writeLine(label);
        }
        if (!atEnd) {
            m_chars.append(char(columnCharacter(m_value)));
            m_hex.append(m_byteText);
            ++m_count;
        }
    }

    void appendCentreLabel(Direction side)
    {
        if (m_continuing) {
            m_out.append(m_texts.continuation);
            return;
        }
        m_continuing = true;
        m_out.append(side == Direction::J1 ? m_texts.openJ1 : m_texts.openJ2);
        TextOutput::appendLineNumber(m_out, m_blockNumber[index(side)]);
        m_out.append(side == Direction::J1 ? m_texts.closeJ1 : m_texts.closeJ2);
    }

    void writeLine(Direction side)
    {
        using TextOutput::appendSpaces;
        const QByteArrayView hex = QByteArrayView(m_hex).trimmed();
        if (side == Direction::J1) {
            appendCapturedBytes(m_out, m_chars);
            appendSpaces(m_out, charWidth - m_chars.size());
            m_out.append('|');
            appendSpaces(m_out, hexWidth - hex.size());
            m_out.append(hex);
            appendCentreLabel(side);
            appendSpaces(m_out, hexWidth);
            m_out.append('|');
            appendSpaces(m_out, charWidth);
        } else {
            appendSpaces(m_out, charWidth);
            m_out.append('|');
            appendSpaces(m_out, hexWidth);
            appendCentreLabel(side);
            m_out.append(hex);
            appendSpaces(m_out, hexWidth - hex.size());
            m_out.append('|');
            appendCapturedBytes(m_out, m_chars);
        }
        TextOutput::appendLineEnd(m_out);
        m_hex.resize(0);
        m_chars.resize(0);
        m_count = 0;
    }

    QByteArray &m_out;
    const ExchangeTexts &m_texts = encodedOnce<ExchangeTexts>();

    QByteArray m_hex;      // "41 42 " ...
    QByteArray m_chars;    // character column, captured bytes
    QByteArray m_byteText; // the byte being assembled, "4" then "41 "
    int m_count = 0;
    bool m_continuing = false; // the block's first line has been written
    qint32 m_blockNumber[2] = {1, 1};
    int m_value = 0;
    Direction m_previous = Direction::None;
};

} // namespace

RenderResult RenderExchange(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                            const ProgressCallback &progress)
{
    return runRenderFrame<ExchangeMode>(capture, header, progress, {2, 2, 6});
}

} // namespace ferrox
