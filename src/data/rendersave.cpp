// Listing view: one tab-separated row per monitored byte with row number,
// direction, decimal and hexadecimal value.
#include "renderframe.h"

#include "cp932.h"
#include "texts.h"

namespace ferrox {

namespace {

// The hexadecimal text of a byte is two digits; repeated low nibbles in
// malformed data add more. Eight digits still make a 32-bit value; a ninth
// ends the rendering with the error message.
constexpr int maxHexDigits = 8;

// The program's texts in code page 932, encoded once.
struct SaveTexts
{
    QByteArray rowJ1 = encodeCp932(DataTexts::rowJ1());
    QByteArray rowJ2 = encodeCp932(DataTexts::rowJ2());
    QByteArray heads = encodeCp932(DataTexts::columnRow() + QLatin1Char('\t') + DataTexts::columnDirection()
                                   + QLatin1Char('\t') + DataTexts::columnDecimal() + QLatin1Char('\t')
                                   + DataTexts::columnHex());
};

template<typename Map>
class SaveMode
{
public:
    SaveMode(TextSink &out, Map &map)
        : m_out(out), m_map(map)
    {
    }

    void preamble(std::uint8_t)
    {
        m_out.put(QByteArray(79, '_'));
        m_out.put(QByteArrayView("\r\n\r\n", 4));
        m_out.put(m_texts.heads);
        m_out.put(QByteArrayView("\r\n\r\n", 4));
    }

    bool high(Direction, std::uint8_t value)
    {
        m_digits[0] = hexDigit(value);
        m_digitCount = 1;
        m_value = value;
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        if (m_digitCount == maxHexDigits)
            return false;
        m_digits[m_digitCount++] = hexDigit(value);
        m_value = m_value * 16 + value;
        writeRow(sender);
        return true;
    }

    void close() {}

private:
    void writeRow(Direction sender)
    {
        m_out.putLineNumber(m_row++);
        m_out.put('\t');
        m_out.put(sender == Direction::J1 ? m_texts.rowJ1 : m_texts.rowJ2);
        m_out.put('\t');
        char decimal[10];
        int length = 0;
        for (quint32 rest = m_value; length == 0 || rest != 0; rest /= 10)
            decimal[length++] = char('0' + rest % 10);
        for (int i = 0; i < length / 2; ++i)
            std::swap(decimal[i], decimal[length - 1 - i]);
        m_out.put(QByteArrayView(decimal, length));
        m_out.putSpaces(3 - length); // a left-aligned column of three
        m_out.put('\t');
        if constexpr (Map::active)
            m_map.setHex(m_map.add(sender, int(m_value & 0xFF)), m_out.offset(), m_digitCount);
        m_out.put(QByteArrayView(m_digits, m_digitCount));
        m_out.putLineEnd();
    }

    TextSink &m_out;
    Map &m_map;
    const SaveTexts &m_texts = encodedOnce<SaveTexts>();
    char m_digits[maxHexDigits] = {}; // the byte's hexadecimal text
    int m_digitCount = 0;
    quint32 m_value = 0; // the value of those digits
    qint32 m_row = 0;
};

} // namespace

RenderResult RenderSave(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                        const ProgressCallback &progress, ByteMapRequest byteMap)
{
    return runRenderFrame<SaveMode>(capture, header, progress, {0, 5, 13}, byteMap);
}

} // namespace ferrox
