// A rendering's byte map in the positions of the text a log window shows, and byte sequences found in it.
#include "data/renderer.h"
#include "views/bytecells.h"
#include "views/bytesearch.h"
#include "views/logtext.h"

#include "data/datatesting.h"

#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::testing::byJ1;
using ferrox::testing::byJ2;

TEST(ByteCells, CellsSitOnTheCharactersTheWindowShows)
{
    const QByteArray data = byJ1("AB\x0D\x0A\x02") + byJ2("\x81\x75\x91\xAA\x81\x76\x06")
        + byJ1("0123456789abcd\x82\xA0" "efg\x82") + byJ2("\xA0\xFF") + char(0xFF);
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
                EXPECT_EQ(shown.mid(b.hexStart, b.hexEnd - b.hexStart), QString::fromLatin1(r.text.mid(m.hexCell, m.hexLength)));
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

TEST(ByteCells, AnEditMovesTheCellsAfterItAndDropsTheOnesItReaches)
{
    const RenderResult r = *renderMonitorData(3, CaptureBuffer::fromStream(byJ1("ABC") + char(0xFF)), {}, {},
                                              ByteMapRequest::Wanted);
    const ByteCells before(r.text, r.byteMap);
    ByteCells cells = before;
    // One character inside byte 1's hex cell replaced by three.
    cells.followEdit(before.bytes()[1].hexStart + 1, 1, 3);
    EXPECT_EQ(cells.bytes()[0].hexStart, before.bytes()[0].hexStart);
    EXPECT_EQ(cells.bytes()[1].hexEnd, cells.bytes()[1].hexStart); // gone
    EXPECT_EQ(cells.bytes()[2].hexStart, before.bytes()[2].hexStart + 2);
    EXPECT_EQ(cells.bytes()[2].charStart, before.bytes()[2].charStart + 2);
    EXPECT_EQ(cells.spanAtOrAfter(before.bytes()[1].hexStart)->byte, 2);
}

TEST(ByteSearch, HexTextGivesBytesOrNothing)
{
    const std::vector<std::pair<const char16_t *, std::optional<QByteArray>>> cases = {
        {u"02 41 42", QByteArray("\x02\x41\x42")}, {u"024142", QByteArray("\x02\x41\x42")}, {u"  ff\t0a ", QByteArray("\xFF\x0A")},
        {u"   ", std::nullopt}, {u"2 41", std::nullopt}, {u"414", std::nullopt}, {u"4G", std::nullopt}, {u"ＡＢ", std::nullopt},
    };
    for (const auto &[text, bytes] : cases)
        EXPECT_EQ(parseHexBytes(QString::fromUtf16(text)), bytes) << QString::fromUtf16(text).toStdString();
}

