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

// Longest row after its number: a tab, the direction, a tab, ten decimal
// digits, a tab, the hexadecimal digits and the line end.
qsizetype rowTailBytes(QByteArrayView label) { return 1 + label.size() + 1 + 10 + 1 + maxHexDigits + 2; }

// Writes a row after its number at `at` and returns its end; `hexAt` gets
// where its hexadecimal text starts.
char *writeRowTail(char *at, QByteArrayView label, quint32 value, QByteArrayView hex, char *&hexAt)
{
    *at++ = '\t';
    at = std::copy(label.begin(), label.end(), at);
    *at++ = '\t';
    char decimal[10];
    int length = 0;
    for (quint32 rest = value; length == 0 || rest != 0; rest /= 10)
        decimal[length++] = char('0' + rest % 10);
    at = std::reverse_copy(decimal, decimal + length, at);
    for (int pad = 3 - length; pad > 0; --pad)
        *at++ = ' '; // a left-aligned column of three
    *at++ = '\t';
    hexAt = at;
    at = std::copy(hex.begin(), hex.end(), at);
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

// The row of a sound byte (two hexadecimal digits) after its number, for
// each sender and value, written once: a row is then its number and one
// copy of a fixed size.
struct RowTail
{
    static constexpr int Capacity = 32;
    char bytes[Capacity] = {};
    int size = -1; // -1: the direction's text is too long for the table
    int hexOffset = 0;
};

// The program's texts in code page 932, encoded once.
struct SaveTexts
{
    SaveTexts()
    {
        for (int side = 0; side < 2; ++side) {
            const QByteArray &label = side == 0 ? rowJ1 : rowJ2;
            if (rowTailBytes(label) > RowTail::Capacity)
                continue;
            for (int value = 0; value < 256; ++value) {
                RowTail &tail = tails[side][value];
                const char hex[2] = {hexDigit(std::uint8_t(value >> 4)), hexDigit(std::uint8_t(value))};
                char *hexAt = nullptr;
                tail.size = int(writeRowTail(tail.bytes, label, quint32(value), QByteArrayView(hex, 2), hexAt) - tail.bytes);
                tail.hexOffset = int(hexAt - tail.bytes);
            }
        }
    }

    QByteArray rowJ1 = encodeCp932(DataTexts::rowJ1());
    QByteArray rowJ2 = encodeCp932(DataTexts::rowJ2());
    QByteArray heads = encodeCp932(DataTexts::columnRow() + QLatin1Char('\t') + DataTexts::columnDirection()
                                   + QLatin1Char('\t') + DataTexts::columnDecimal() + QLatin1Char('\t')
                                   + DataTexts::columnHex());
    RowTail tails[2][256]; // by sender (J1, J2) and value
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
        writeRow(sender, m_value, QByteArrayView(m_digits, m_digitCount));
        return true;
    }

    bool run(Direction sender, SoundRun bytes)
    {
        const RowTail *tails = m_texts.tails[sender == Direction::J1 ? 0 : 1];
        if (tails[0].size < 0) {
            for (const std::uint8_t value : bytes)
                writeRow(sender, value, QByteArrayView(hexByteTexts[value].bytes, 2));
        } else {
            // Room for the whole run at once; the number and the row are
            // kept in registers, not in members the output's bytes could
            // alias.
            char *at = m_out.claim(qsizetype(bytes.size()) * (LineNumber::Digits + RowTail::Capacity));
            LineNumber number = m_number;
            RunPieces rest(bytes);
            while (!rest.done()) {
                for (const std::uint8_t value : rest.next(number.stepsBeforeCarry())) {
                    const RowTail &tail = tails[value];
                    number.writeTo(at);
                    std::memcpy(at + LineNumber::Digits, tail.bytes, RowTail::Capacity);
                    if constexpr (Map::active) {
                        m_map.setHex(m_map.add(sender, value),
                                     m_out.offsetOf(at + LineNumber::Digits + tail.hexOffset), 2);
                    }
                    at += LineNumber::Digits + tail.size;
                    number.step();
                }
                number.carry();
            }
            m_out.advanceTo(at);
            m_number = number;
        }
        // Kept as high() and low() keep them, for a repeated low nibble.
        const std::uint8_t last = bytes.last();
        m_digits[0] = hexDigit(last >> 4);
        m_digits[1] = hexDigit(last);
        m_digitCount = 2;
        m_value = last;
        return true;
    }

    void close() {}

private:
    // A row for `value`, whose hexadecimal text is `hex`.
    void writeRow(Direction sender, quint32 value, QByteArrayView hex)
    {
        const int side = sender == Direction::J1 ? 0 : 1;
        if (hex.size() == 2 && m_texts.tails[side][value].size >= 0) {
            const RowTail &tail = m_texts.tails[side][value];
            char *at = m_out.claim(LineNumber::Digits + RowTail::Capacity);
            m_number.writeTo(at);
            std::memcpy(at + 6, tail.bytes, RowTail::Capacity);
            if constexpr (Map::active)
                m_map.setHex(m_map.add(sender, int(value)), m_out.offsetOf(at + 6 + tail.hexOffset), 2);
            m_out.advanceTo(at + 6 + tail.size);
        } else {
            const QByteArray &label = side == 0 ? m_texts.rowJ1 : m_texts.rowJ2;
            char *at = m_out.claim(LineNumber::Digits + rowTailBytes(label));
            m_number.writeTo(at);
            char *hexAt = nullptr;
            at = writeRowTail(at + 6, label, value, hex, hexAt);
            if constexpr (Map::active)
                m_map.setHex(m_map.add(sender, int(value & 0xFF)), m_out.offsetOf(hexAt), int(hex.size()));
            m_out.advanceTo(at);
        }
        m_number.next();
    }

    TextSink &m_out;
    Map &m_map;
    const SaveTexts &m_texts = encodedOnce<SaveTexts>();
    char m_digits[maxHexDigits] = {}; // the byte's hexadecimal text
    int m_digitCount = 0;
    quint32 m_value = 0; // the value of those digits
    LineNumber m_number; // the next row's
};

} // namespace

RenderResult RenderSave(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                        const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<SaveMode>(capture, header, progress, {0, 5, 13}, byteMap, pieces);
}

} // namespace ferrox
