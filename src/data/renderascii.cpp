// ASCII view: the bytes as text, one block per direction, each headed by
// its line number and direction. A block is written when the direction
// changes or the data ends.
#include "renderframe.h"

#include "characterrules.h"
#include "cp932.h"
#include "texts.h"

#include <string>
#include <vector>

namespace ferrox {

namespace {

// The program's texts in code page 932, encoded once.
struct AsciiTexts
{
    QByteArray labelJ1 = encodeCp932(DataTexts::lineLabelJ1());
    QByteArray labelJ2 = encodeCp932(DataTexts::lineLabelJ2());
};

template<typename Map>
class AsciiMode
{
public:
    AsciiMode(TextSink &out, Map &map)
        : m_out(out), m_map(map)
    {
    }

    void preamble(std::uint8_t) {}

    bool high(Direction, std::uint8_t value)
    {
        m_value = value * 16;
        return true;
    }

    bool low(Direction sender, std::uint8_t value)
    {
        m_value += value;
        // Only repeated low nibbles get here; the byte cannot be shown.
        if (m_value > 255)
            return false;
        completed(sender, false);
        return true;
    }

    void close()
    {
        // The opposite label forces the last block out.
        const Direction label = m_sender.closing();
        if (label != Direction::None)
            completed(label, true);
    }

private:
    void completed(Direction label, bool atEnd)
    {
        const Direction ended = m_sender.next(label);
        if (ended != Direction::None)
            writeBlock(ended == Direction::J1 ? m_texts.labelJ1 : m_texts.labelJ2);
        if (atEnd)
            return;
        const qsizetype start = qsizetype(m_line.size());
        const AsciiCharacterText &text = m_characters[m_value];
        if (text.size == 1)
            m_line.push_back(text.bytes[0]);
        else
            m_line.append(text.bytes, text.size);
        if constexpr (Map::active)
            m_pending.push_back({m_map.add(label, m_value), start, qsizetype(m_line.size()) - start});
    }

    void writeBlock(const QByteArray &label)
    {
        m_out.putLineNumber(m_lineNumber);
        m_out.put(label);
        const qsizetype base = m_out.offset();
        for (const PendingCell &cell : m_pending)
            m_map.setChar(cell.index, base + cell.start, cell.length);
        m_pending.clear();
        m_out.putCaptured(QByteArrayView(m_line.data(), qsizetype(m_line.size())));
        m_out.putLineEnd();
        ++m_lineNumber;
        m_line.clear(); // keeps the allocation for the next block
    }

    // A block's characters get their offsets when the block is written.
    struct PendingCell
    {
        qint32 index;
        qsizetype start;  // in the line buffer
        qsizetype length; // "[STX]" is five bytes, a CR two
    };

    TextSink &m_out;
    Map &m_map;
    std::vector<PendingCell> m_pending;
    const AsciiTexts &m_texts = encodedOnce<AsciiTexts>();
    const AsciiCharacterText *m_characters = asciiCharacterTexts();
    std::string m_line;
    qint32 m_lineNumber = 0;
    int m_value = 0;
    SenderChange m_sender;
};

} // namespace

RenderResult RenderAscii(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                         const ProgressCallback &progress, ByteMapRequest byteMap,
                       const TextPieceWriter &pieces)
{
    return runRenderFrame<AsciiMode>(capture, header, progress, {0, 5, 1}, byteMap, pieces);
}

} // namespace ferrox
