// The byte map beside every rendering: the same text as without it, and
// each monitored byte's cells hold exactly what the mode writes for it.
#include "datatesting.h"

#include "data/characterrules.h"
#include "data/cp932.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

struct Sent
{
    Direction sender;
    int value;
};

// The bytes a well-formed stream carries before its end code, decoded
// here without the renderers.
std::vector<Sent> bytesBeforeEndCode(const QByteArray &stream)
{
    std::vector<Sent> out;
    int high = 0;
    for (char c : stream) {
        const auto b = std::uint8_t(c);
        if (b == 0xFF)
            break;
        if (b >> 4 == 0x8 || b >> 4 == 0xA)
            high = b & 0x0F;
        else if (b >> 4 == 0x9 || b >> 4 == 0xB)
            out.push_back({b >> 4 == 0xB ? Direction::J1 : Direction::J2, high * 16 + (b & 0x0F)});
    }
    return out;
}

QByteArray cell(const QByteArray &text, qint32 offset, int length)
{
    return offset == MappedByte::NoCell ? QByteArray() : text.mid(offset, length);
}

// What the character column shows for a value: the rule of the mode, and
// a lead byte may have become "?" when its trail byte is not beside it.
bool charCellShows(const QByteArray &shown, qint32 mode, int value)
{
    QByteArray expected;
    if (mode == 2)
        appendAsciiCharacter(expected, std::uint8_t(value));
    else
        expected.append(char(columnCharacter(value)));
    const bool lead = expected.size() == 1 && isCp932LeadByte(std::uint8_t(expected[0]));
    return shown == expected || (lead && shown == "?");
}

struct Stream
{
    const char *name;
    QByteArray bytes;
};

const std::vector<Stream> &wellFormedStreams()
{
    static const std::vector<Stream> streams = {
        {"both directions", byJ1("AB") + byJ2("\x06") + byJ1("C") + endCode()},
        {"J2 first, long blocks", byJ2("0123456789abcdefghij") + byJ1("klmnopqrstuvwxyz01") + endCode()},
        {"control codes", byJ1(QByteArrayView("\x02x\x03\x04\x05\x06\x09\x0A\x0D\x15\x1B\x00\x7F", 13))
                              + byJ2(QByteArrayView("\x0D\x0A\xA0\xFE\xFF", 5)) + endCode()},
        {"double-byte pairs", byJ2("\x81\x75\x91\xAA\x92\xE8\x92\x6C\x81\x76") + byJ1("\x82\xA0") + endCode()},
        {"pair split by a line break", byJ1("0123456789abcde\x82\xA0xyz") + byJ2("1234567\x91\xAA") + endCode()},
        {"pair split by the other side", byJ1("A\x82") + byJ2("\xA0") + endCode()},
        {"end code first", bytes({0xFF, 0xA4, 0xB1, 0xFF})},
        {"no end code", byJ1("AB") + byJ2("C")},
        {"bytes after the end code", byJ1("AB") + endCode() + byJ2("CD")},
        {"undefined tags and 0xF3", bytes({0xA4, 0x55, 0xB1, 0xF3, 0x80, 0xE0, 0x96, 0xFF})},
    };
    return streams;
}

} // namespace

TEST(ByteMap, EveryModeMapsEveryByteOfWellFormedStreams)
{
    for (qint32 mode = 1; mode <= 5; ++mode) {
        const bool hasHex = mode != 2;
        const bool hasChar = mode == 2 || mode == 3 || mode == 4;
        for (const Stream &s : wellFormedStreams()) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ": " << s.name);
            const CaptureBuffer capture = streamOf(s.bytes);
            const RenderResult plain = *renderMonitorData(mode, capture, testHeader());
            const RenderResult mapped =
                *renderMonitorData(mode, capture, testHeader(), {}, ByteMapRequest::Wanted);
            EXPECT_TRUE(plain.byteMap.empty());
            ASSERT_EQ(show(mapped.text), show(plain.text));

            const std::vector<Sent> sent = bytesBeforeEndCode(s.bytes);
            ASSERT_EQ(mapped.byteMap.size(), sent.size());
            qint32 lastHex = -1;
            qint32 lastChar = -1;
            for (size_t i = 0; i < sent.size(); ++i) {
                const MappedByte &b = mapped.byteMap[i];
                SCOPED_TRACE(::testing::Message() << "byte " << i);
                EXPECT_EQ(b.sender, sent[i].sender);
                EXPECT_EQ(b.value, sent[i].value);
                EXPECT_EQ(b.hexCell != MappedByte::NoCell, hasHex);
                EXPECT_EQ(b.charCell != MappedByte::NoCell, hasChar);
                if (hasHex) {
                    EXPECT_EQ(cell(mapped.text, b.hexCell, b.hexLength),
                              QByteArray::number(0x100 + sent[i].value, 16).toUpper().mid(1));
                    EXPECT_GT(b.hexCell, lastHex);
                    lastHex = b.hexCell;
                }
                if (hasChar) {
                    const QByteArray shown = cell(mapped.text, b.charCell, b.charLength);
                    EXPECT_TRUE(charCellShows(shown, mode, sent[i].value)) << show(shown);
                    EXPECT_GT(b.charCell, lastChar);
                    lastChar = b.charCell;
                }
            }
        }
    }
}

TEST(ByteMap, MalformedDataMapsWhatWasWritten)
{
    struct Case
    {
        const char *name;
        qint32 mode;
        QByteArray stream;
        std::vector<QByteArray> hexCells; // empty: none expected
        std::vector<QByteArray> charCells;
    };
    const std::vector<Case> cases = {
        {"ASCII error ending keeps the block written", 2,
         byJ1("A") + byJ2("B") + bytes({0x8F, 0x9F, 0x91}) + byJ1("C") + endCode(), {}, {"A"}},
        {"listing error ending at the ninth digit", 5,
         byJ1("A") + bytes({0xA1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xFF}),
         {"41", "12", "123", "1234", "12345", "123456", "1234567", "12345678"}, {}},
        {"hex view: a low nibble with no high digit", 1, bytes({0xB1, 0xA4, 0xB2, 0xFF}), {"1", "42"}, {}},
        {"exchange view: repeated low nibbles lengthen the cell", 4, bytes({0xA4, 0xB1, 0xB2, 0xFF}),
         {"41", "41 2"}, {"A", "C"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RenderResult r =
            *renderMonitorData(c.mode, streamOf(c.stream), testHeader(), {}, ByteMapRequest::Wanted);
        const size_t count = std::max(c.hexCells.size(), c.charCells.size());
        ASSERT_EQ(r.byteMap.size(), count);
        for (size_t i = 0; i < count; ++i) {
            const MappedByte &b = r.byteMap[i];
            if (!c.hexCells.empty()) {
                EXPECT_EQ(cell(r.text, b.hexCell, b.hexLength), c.hexCells[i]);
            }
            if (!c.charCells.empty()) {
                EXPECT_EQ(cell(r.text, b.charCell, b.charLength), c.charCells[i]);
            }
        }
    }
}
