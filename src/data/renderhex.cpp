// Hexadecimal view: one line per direction block, "41 " per byte, no limit
// on the line length; the last line has no line end.
#include "renderframe.h"

#include "cp932.h"
#include "texts.h"

namespace ferrox {

namespace {

// The program's texts in code page 932, encoded once.
struct HexTexts
{
    QByteArray labelJ1 = encodeCp932(DataTexts::lineLabelJ1());
    QByteArray labelJ2 = encodeCp932(DataTexts::lineLabelJ2());
};

template<typename Map>
class HexMode
{
public:
    HexMode(TextSink &out, Map &map)
        : m_out(out), m_map(map)
    {
    }

    void preamble(std::uint8_t first)
    {
        const StreamTagMeaning &tag = decodeTag(first);
        if (tag.kind == TagKind::High)
            startLine(tag.sender);
    }

    bool high(Direction sender, std::uint8_t value)
    {
        if (m_direction == opposite(sender)) {
            m_lineNumber.next();
            m_out.put(QByteArrayView("\r\r\n", 3));
            startLine(sender);
        }
        m_high[index(sender)] = hexDigit(value);
        m_highValue[index(sender)] = value;
        m_direction = sender;
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        // A low nibble with no high nibble before it has an empty high digit.
        const char high = m_high[index(sender)];
        if constexpr (Map::active) {
            const qint32 mapped = m_map.add(sender, m_highValue[index(sender)] * 16 + value);
            m_map.setHex(mapped, m_out.offset(), high ? 2 : 1);
        }
        // Byte by byte into the output: a text assembled on the stack and
        // copied as a whole stalls the copy's read of it.
        char *at = m_out.claim(3);
        if (high)
            *at++ = high;
        *at++ = hexDigit(value);
        *at++ = ' ';
        m_out.advanceTo(at);
        return true;
    }

    bool run(Direction sender, SoundRun bytes)
    {
        // The line is started by the first byte; the last one's high digit
        // is the one kept.
        high(sender, bytes.last() >> 4);
        char *at = m_out.claim(qsizetype(bytes.size()) * HexByteText::Size + 1);
        for (const std::uint8_t value : bytes) {
            if constexpr (Map::active)
                m_map.setHex(m_map.add(sender, value), m_out.offsetOf(at), 2);
            at = writeHexByte(at, value);
        }
        m_out.advanceTo(at);
        return true;
    }

    void close() {}

private:
    static int index(Direction d) { return d == Direction::J1 ? 0 : 1; }

    void startLine(Direction sender)
    {
        m_direction = sender;
        m_out.putLineNumber(m_lineNumber);
        m_out.put(sender == Direction::J1 ? m_texts.labelJ1 : m_texts.labelJ2);
    }

    TextSink &m_out;
    Map &m_map;
    const HexTexts &m_texts = encodedOnce<HexTexts>();
    Direction m_direction = Direction::None;
    LineNumber m_lineNumber;
    char m_high[2] = {0, 0}; // per sender; 0: no digit stored
    int m_highValue[2] = {0, 0};
};

} // namespace

RenderResult RenderHex(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                       const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<HexMode>(capture, header, progress, {0, 5, 2}, byteMap, pieces);
}

} // namespace ferrox
