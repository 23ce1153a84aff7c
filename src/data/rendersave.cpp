// Listing view: one tab-separated row per monitored byte with row number,
// direction, decimal and hexadecimal value.
#include "renderframe.h"

#include "cp932.h"
#include "texts.h"

#include <algorithm>
#include <cstring>

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
        const QByteArray &label = sender == Direction::J1 ? m_texts.rowJ1 : m_texts.rowJ2;
        // One reservation for the whole row: its number, the label, at
        // most ten decimal digits, the hexadecimal text, separators and
        // the line end.
        char *at = m_out.claim(6 + label.size() + 10 + maxHexDigits + 8);
        std::memcpy(at, m_number, 6);
        at += 6;
        *at++ = '\t';
        std::memcpy(at, label.constData(), size_t(label.size()));
        at += label.size();
        *at++ = '\t';
        char decimal[10];
        int length = 0;
        for (quint32 rest = m_value; length == 0 || rest != 0; rest /= 10)
            decimal[length++] = char('0' + rest % 10);
        at = std::reverse_copy(decimal, decimal + length, at);
        for (int pad = 3 - length; pad > 0; --pad)
            *at++ = ' '; // a left-aligned column of three
        *at++ = '\t';
        if constexpr (Map::active)
            m_map.setHex(m_map.add(sender, int(m_value & 0xFF)), m_out.offsetOf(at), m_digitCount);
        std::memcpy(at, m_digits, size_t(m_digitCount));
        at += m_digitCount;
        *at++ = '\r';
        *at++ = '\n';
        m_out.advanceTo(at);
        nextNumber();
    }

    // The row number's six digits, counted on as text: the last six
    // decimal digits of the row's index.
    void nextNumber()
    {
        for (int i = 5; i >= 0; --i) {
            if (m_number[i] != '9') {
                ++m_number[i];
                return;
            }
            m_number[i] = '0';
        }
    }

    TextSink &m_out;
    Map &m_map;
    const SaveTexts &m_texts = encodedOnce<SaveTexts>();
    char m_digits[maxHexDigits] = {}; // the byte's hexadecimal text
    int m_digitCount = 0;
    quint32 m_value = 0; // the value of those digits
    char m_number[6] = {'0', '0', '0', '0', '0', '0'};
};

} // namespace

RenderResult RenderSave(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                        const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<SaveMode>(capture, header, progress, {0, 5, 13}, byteMap, pieces);
}

} // namespace ferrox
