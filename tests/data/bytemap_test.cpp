// The byte map beside every rendering: the same text as without it, and
// each monitored byte's cells hold exactly what the mode writes for it.
#include "datatesting.h"

#include "data/characterrules.h"
#include "data/cp932.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

struct Sent { Direction sender; int value; };

// The bytes a well-formed stream carries before its end code, decoded here without the renderers.
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
    QByteArray expected(mode == 2 ? 0 : 1, char(columnCharacter(value)));
    if (mode == 2)
        appendAsciiCharacter(expected, std::uint8_t(value));
    const bool lead = expected.size() == 1 && isCp932LeadByte(std::uint8_t(expected[0]));
    return shown == expected || (lead && shown == "?");
}

const std::vector<std::pair<const char *, QByteArray>> wellFormedStreams = {
        {"both directions", byJ1("AB") + byJ2("\x06") + byJ1("C") + endCode()},
        {"J2 first, long blocks", byJ2("0123456789abcdefghij") + byJ1("klmnopqrstuvwxyz01") + endCode()},
        {"control codes", byJ1(QByteArrayView("\x02x\x03\x04\x05\x06\x09\x0A\x0D\x15\x1B\x00\x7F", 13))
                              + byJ2(QByteArrayView("\x0D\x0A\xA0\xFE\xFF", 5)) + endCode()},
        {"double-byte pairs", byJ2("\x81\x75\x91\xAA\x92\xE8\x92\x6C\x81\x76") + byJ1("\x82\xA0") + endCode()},
        {"pair split by a line break", byJ1("0123456789abcde\x82\xA0xyz") + byJ2("1234567\x91\xAA") + endCode()},
        {"no end code", byJ1("AB") + byJ2("C")},
        {"bytes after the end code", byJ1("AB") + endCode() + byJ2("CD")},
        {"undefined tags and 0xF3", bytes({0xA4, 0x55, 0xB1, 0xF3, 0x80, 0xE0, 0x96, 0xFF})},
};

} // namespace

TEST(ByteMap, EveryModeMapsEveryByteOfWellFormedStreams)
{
    for (qint32 mode = 1; mode <= 5; ++mode) {
        const bool hasHex = mode != 2;
        const bool hasChar = mode == 2 || mode == 3 || mode == 4;
        for (const auto &[name, stream] : wellFormedStreams) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ": " << name);
            const CaptureBuffer capture = streamOf(stream);
            const RenderResult plain = *renderMonitorData(mode, capture, testHeader());
            const RenderResult mapped = *renderMonitorData(mode, capture, testHeader(), {}, ByteMapRequest::Wanted);
            EXPECT_TRUE(plain.byteMap.empty());
            ASSERT_EQ(show(mapped.text), show(plain.text));

            const std::vector<Sent> sent = bytesBeforeEndCode(stream);
            ASSERT_EQ(mapped.byteMap.size(), sent.size());
            for (size_t i = 0; i < sent.size(); ++i) {
                const MappedByte &b = mapped.byteMap[i];
                SCOPED_TRACE(::testing::Message() << "byte " << i);
                EXPECT_EQ(b.sender, sent[i].sender);
                EXPECT_EQ(b.value, sent[i].value);
                EXPECT_EQ(b.hexCell != MappedByte::NoCell, hasHex);
                EXPECT_EQ(b.charCell != MappedByte::NoCell, hasChar);
                const QByteArray hex = QByteArray::number(0x100 + sent[i].value, 16).toUpper().mid(1);
                EXPECT_EQ(cell(mapped.text, b.hexCell, b.hexLength), hasHex ? hex : QByteArray());
                const QByteArray shown = cell(mapped.text, b.charCell, b.charLength);
                if (hasChar) {
                    EXPECT_TRUE(charCellShows(shown, mode, sent[i].value)) << show(shown);
                }
            }
        }
    }
}

// An error ending maps what was written: the ASCII view's last block and the listing's rows before the ninth digit.
TEST(ByteMap, ErrorEndingsMapWhatWasWritten)
{
    const auto mapped = [](qint32 mode, const QByteArray &stream) {
        return *renderMonitorData(mode, streamOf(stream), testHeader(), {}, ByteMapRequest::Wanted);
    };
    const RenderResult ascii = mapped(2, byJ1("A") + byJ2("B") + bytes({0x8F, 0x9F, 0x91}) + byJ1("C") + endCode());
    ASSERT_TRUE(ascii.failed);
    ASSERT_EQ(ascii.byteMap.size(), 1u);
    EXPECT_EQ(cell(ascii.text, ascii.byteMap[0].charCell, ascii.byteMap[0].charLength), "A");

    const RenderResult save = mapped(5, byJ1("A") + bytes({0xA1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xFF}));
    ASSERT_TRUE(save.failed);
    ASSERT_EQ(save.byteMap.size(), 8u);
    EXPECT_EQ(cell(save.text, save.byteMap[7].hexCell, save.byteMap[7].hexLength), "12345678");
}
