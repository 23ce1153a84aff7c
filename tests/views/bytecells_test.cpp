// A rendering's byte map in the positions of the text a log window shows,
// and byte sequences found in it.
#include "data/cp932.h"
#include "data/renderer.h"
#include "views/bytecells.h"
#include "views/bytesearch.h"
#include "views/logtext.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

QByteArray stream(std::initializer_list<std::pair<int, QByteArrayView>> turns)
{
    QByteArray out;
    for (const auto &[high, bytes] : turns) {
        for (const char c : bytes) {
            out.append(char(high | (std::uint8_t(c) >> 4)));
            out.append(char((high + 0x10) | (std::uint8_t(c) & 0x0F)));
        }
    }
    return out + char(0xFF);
}

} // namespace

// The positions rest on the decoding reading each lead byte with its
// trail byte as one character, whatever the pair.
TEST(ByteCells, EveryDoubleBytePairDecodesToOneCharacter)
{
    QByteArray pairs;
    int count = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isCp932LeadByte(std::uint8_t(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (isCp932TrailByte(std::uint8_t(trail))) {
                pairs.append(char(lead)).append(char(trail)).append('.');
                ++count;
            }
        }
    }
    EXPECT_EQ(decodeLogText(pairs).size(), 2 * count);
}

TEST(ByteCells, CellsSitOnTheCharactersTheWindowShows)
{
    const QByteArray data = stream({{0xA0, "AB\x0D\x0A\x02"},
                                    {0x80, "\x81\x75\x91\xAA\x81\x76\x06"},
                                    {0xA0, "0123456789abcd\x82\xA0" "efg\x82"},
                                    {0x80, "\xA0\xFF"}});
    const CaptureBuffer capture = CaptureBuffer::fromStream(data);
    for (qint32 mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        const RenderResult r = *renderMonitorData(mode, capture, {}, {}, ByteMapRequest::Wanted);
        const QString shown = decodeLogText(r.text);
        const ByteCells cells(r.text, r.byteMap);
        ASSERT_EQ(cells.size(), qsizetype(r.byteMap.size()));
        for (qsizetype i = 0; i < cells.size(); ++i) {
            SCOPED_TRACE(i);
            const ByteCells::Byte &b = cells.bytes()[size_t(i)];
            const MappedByte &m = r.byteMap[size_t(i)];
            if (m.hexCell != MappedByte::NoCell) {
                EXPECT_EQ(shown.mid(b.hexStart, b.hexEnd - b.hexStart),
                          QString::fromLatin1(r.text.mid(m.hexCell, m.hexLength)));
            }
            if (m.charCell == MappedByte::NoCell)
                continue;
            // A byte of a double-byte character stands on the whole character.
            const QString cell = shown.mid(b.charStart, b.charEnd - b.charStart);
            const QString alone = decodeLogText(r.text.mid(m.charCell, m.charLength));
            const QString withNext = decodeLogText(r.text.mid(m.charCell, 2));
            const QString withPrevious = decodeLogText(r.text.mid(m.charCell - 1, 2));
            EXPECT_TRUE(cell == alone || (cell.size() == 1 && (cell == withNext || cell == withPrevious)))
                << cell.toStdString();
        }
    }
}

TEST(ByteCells, SelectionTakesTheBytesOfTheCellKindItStartsIn)
{
    // Mode 3: 16 bytes a line; select from byte 14's digits to byte 17's.
    const CaptureBuffer capture = CaptureBuffer::fromStream(stream({{0xA0, "0123456789abcdefghij"}}));
    const RenderResult r = *renderMonitorData(3, capture, {}, {}, ByteMapRequest::Wanted);
    const ByteCells cells(r.text, r.byteMap);
    const auto &b = cells.bytes();
    EXPECT_EQ(cells.bytesIn(b[14].hexStart, b[17].hexEnd), std::make_pair(14, 18));
    EXPECT_EQ(cells.bytesIn(b[3].charStart, b[5].charEnd), std::make_pair(3, 6));
    EXPECT_EQ(cells.bytesIn(0, b[0].hexStart), std::make_pair(0, 0));
    EXPECT_EQ(cells.values(), QByteArray("0123456789abcdefghij"));
}

TEST(ByteSearch, HexTextGivesBytesOrNothing)
{
    const std::vector<std::pair<const char16_t *, std::optional<QByteArray>>> cases = {
        {u"02 41 42", QByteArray("\x02\x41\x42")},
        {u"024142", QByteArray("\x02\x41\x42")},
        {u"  ff\t0a ", QByteArray("\xFF\x0A")},
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"2 41", std::nullopt},
        {u"414", std::nullopt},
        {u"4G", std::nullopt},
        {u"ＡＢ", std::nullopt},
        {u"AB", QByteArray("\xAB")},
    };
    for (const auto &[text, bytes] : cases)
        EXPECT_EQ(parseHexBytes(QString::fromUtf16(text)), bytes) << QString::fromUtf16(text).toStdString();
}

TEST(ByteSearch, FindsEveryStartOverlapsIncluded)
{
    EXPECT_EQ(findAllBytes(QByteArray("\x00\x00\x00\x41", 4), QByteArray("\x00\x00", 2)), (std::vector<qint32>{0, 1}));
    EXPECT_EQ(findAllBytes("ABAB", "AB"), (std::vector<qint32>{0, 2}));
    EXPECT_TRUE(findAllBytes("ABAB", "").empty());
    EXPECT_TRUE(findAllBytes("AB", "ABC").empty());
}
