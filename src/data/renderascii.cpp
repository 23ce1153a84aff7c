// ASCII view: the bytes as text, one block per direction, each headed by
// its line number and direction. A block is written when the direction
// changes or the data ends.
#include "renderframe.h"

#include "capturedcolumn.h"
#include "characterrules.h"
#include "cp932.h"
#include "texts.h"

#include <cstring>
#include <vector>

namespace ferrox {

namespace {

// The program's texts in code page 932, encoded once.
struct AsciiTexts
{
    AsciiTexts()
    {
        const AsciiCharacterText *characters = asciiCharacterTexts();
        for (int value = 0; value < 256; ++value) {
            const AsciiCharacterText &text = characters[value];
            // A text of several bytes is a name such as "[STX]" or CR LF,
            // plain ASCII: only its first byte can pair with a lead byte
            // before it, and none of it waits for a trail byte.
            roles[value] = cp932ByteRoles[std::uint8_t(text.bytes[0])] & (text.size == 1 ? 0xFF : ~Cp932LeadByte);
        }
    }

    QByteArray labelJ1 = encodeCp932(DataTexts::lineLabelJ1());
    QByteArray labelJ2 = encodeCp932(DataTexts::lineLabelJ2());
    // By value: what the first byte of its text can be in a double-byte
    // character (see cp932ByteRoles).
    std::uint8_t roles[256];
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
        endBlockBefore(sender);
        char *at = m_line.claim(sizeof(AsciiCharacterText::bytes));
        record(sender, m_value, at);
        m_line.advanceTo(writeCharacter(at, m_characters[m_value], m_texts.roles[m_value], m_waiting));
        return true;
    }

    bool run(Direction sender, SoundRun bytes)
    {
        endBlockBefore(sender);
        // Room for the whole run at once; the end and the lead byte state
        // are kept in registers, not in members the text's bytes could
        // alias.
        char *at = m_line.claim(qsizetype(bytes.size()) * sizeof(AsciiCharacterText::bytes));
        unsigned waiting = m_waiting;
        const AsciiCharacterText *characters = m_characters;
        const std::uint8_t *roles = m_texts.roles;
        for (const std::uint8_t value : bytes) {
            record(sender, value, at);
            at = writeCharacter(at, characters[value], roles[value], waiting);
        }
        m_line.advanceTo(at);
        m_waiting = waiting;
        m_value = bytes.last();
        return true;
    }

    void close()
    {
        // The opposite label forces the last block out.
        const Direction label = m_sender.closing();
        if (label != Direction::None)
            endBlockBefore(label);
    }

private:
    // A byte of `label` completes: the block before it is written when the
    // sender changed.
    void endBlockBefore(Direction label)
    {
        const Direction ended = m_sender.next(label);
        if (ended != Direction::None)
            writeBlock(ended == Direction::J1 ? m_texts.labelJ1 : m_texts.labelJ2);
    }

    // A character's text at `at`, with the code page 932 pass-through as
    // the block is built, not as a second pass over it; returns where it
    // ends. `role`: its first byte's (see AsciiTexts); `waiting`: the text
    // before ends with a lead byte waiting for its trail byte.
    static char *writeCharacter(char *at, const AsciiCharacterText &text, unsigned role, unsigned &waiting)
    {
        std::memcpy(at, text.bytes, sizeof text.bytes);
        if (judgeInTurn(waiting, role))
            at[-1] = '?'; // a lone lead byte: rare in text
        return at + text.size;
    }

    // The cell of a byte whose text goes at `at` in the block.
    void record(Direction label, int value, const char *at)
    {
        if constexpr (Map::active)
            m_pending.push_back({m_map.add(label, value), m_line.offsetOf(at), m_characters[value].size});
    }

    void writeBlock(const QByteArray &label)
    {
        m_out.putLineNumber(m_lineNumber);
        m_out.put(label);
        const qsizetype base = m_out.offset();
        for (const PendingCell &cell : m_pending)
            m_map.setChar(cell.index, base + cell.start, cell.length);
        m_pending.clear();
        if (m_waiting)
            m_line.claim(0)[-1] = '?'; // a lead byte at the end of the block
        m_waiting = 0;
        m_out.put(m_line.written());
        m_out.putLineEnd();
        m_lineNumber.next();
        m_line.rewind(); // keeps the room for the next block
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
    QByteArray m_lineBytes;
    TextSink m_line{m_lineBytes, 4096}; // the block being built
    unsigned m_waiting = 0; // the block ends with a lead byte waiting for its trail byte
    LineNumber m_lineNumber;
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
