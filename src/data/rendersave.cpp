// Listing view: one tab-separated row per monitored byte with row number,
// direction, decimal and hexadecimal value.
#include "renderframe.h"

#include "cp932.h"
#include "textoutput.h"
#include "texts.h"

namespace ferrox {

namespace {

// The hexadecimal text of a byte is two digits; repeated low nibbles in
// malformed data add more. Eight digits still make a 32-bit value; a ninth
// ends the rendering with the error message.
constexpr qsizetype maxHexDigits = 8;

// The program's texts in code page 932, encoded once.
struct SaveTexts
{
    QByteArray rowJ1 = encodeCp932(DataTexts::rowJ1());
    QByteArray rowJ2 = encodeCp932(DataTexts::rowJ2());
    QByteArray heads = encodeCp932(DataTexts::columnRow() + QLatin1Char('\t') + DataTexts::columnDirection()
                                   + QLatin1Char('\t') + DataTexts::columnDecimal() + QLatin1Char('\t')
                                   + DataTexts::columnHex());
};

class SaveMode
{
public:
    explicit SaveMode(QByteArray &out)
        : m_out(out)
    {
    }

    void preamble(std::uint8_t)
    {
        m_out.append(79, '_');
        m_out.append("\r\n\r\n", 4);
        m_out.append(m_texts.heads);
        m_out.append("\r\n\r\n", 4);
    }

    bool high(Direction, std::uint8_t value)
    {
        m_hex.resize(0);
        m_hex.append(hexDigit(value));
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        if (m_hex.size() >= maxHexDigits)
            return false;
        m_hex.append(hexDigit(value));
        writeRow(sender);
        return true;
    }

    void close() {}

private:
    void writeRow(Direction sender)
    {
        TextOutput::appendLineNumber(m_out, m_row++);
        m_out.append('\t');
        m_out.append(sender == Direction::J1 ? m_texts.rowJ1 : m_texts.rowJ2);
        m_out.append('\t');
        const quint32 value = m_hex.toUInt(nullptr, 16);
        char digits[10];
        int length = 0;
        for (quint32 rest = value; length == 0 || rest != 0; rest /= 10)
            digits[length++] = char('0' + rest % 10);
        for (int i = length - 1; i >= 0; --i)
            m_out.append(digits[i]);
        TextOutput::appendSpaces(m_out, 3 - length); // a left-aligned column of three
        m_out.append('\t');
        m_out.append(m_hex);
        TextOutput::appendLineEnd(m_out);
    }

    QByteArray &m_out;
    const SaveTexts &m_texts = encodedOnce<SaveTexts>();
    QByteArray m_hex; // the byte's hexadecimal text
    qint32 m_row = 0;
};

} // namespace

RenderResult RenderSave(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                        const ProgressCallback &progress)
{
    return runRenderFrame<SaveMode>(capture, header, progress, {0, 5, 13});
}

} // namespace ferrox
