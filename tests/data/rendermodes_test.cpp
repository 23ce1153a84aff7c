// The display modes byte for byte with the report header (checked by every
// rendering; its variants at the end): each table is the mode's worked example, then its edges.
#include "datatesting.h"

#include <QRandomGenerator>
#include <QStringList>

#include <array>
#include <vector>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// J1 sends "AB", J2 answers ACK.
const QByteArray j1AB_j2ACK = bytes({0xA4, 0xB1, 0xA4, 0xB2, 0x80, 0x96, 0xFF});

struct Case { const char *name; QByteArray stream; QByteArray body; bool failed = false; };

// Each body after the report header is `preamble` and the case's lines.
void expectBodies(qint32 mode, const std::vector<Case> &cases, const QByteArray &preamble = {})
{
    for (const Case &c : cases) {
        const CaptureBuffer capture = streamOf(c.stream);
        const RenderResult result = *renderMonitorData(mode, capture, testHeader());
        EXPECT_EQ(show(bodyOf(result, capture.DataByteCount())), show(preamble + c.body)) << c.name;
        EXPECT_EQ(result.failed, c.failed) << c.name;
    }
}

} // namespace

TEST(RenderHex, Cases)
{
    expectBodies(1, {
        {"worked example", j1AB_j2ACK, sjis(u"000000 J1⇒J2 : 41 42 \r\r\n000001 J1←J2 : 06 ")},
        {"separate high digits per sender", bytes({0xA4, 0x80, 0xB1, 0x96, 0xFF}),
         sjis(u"000000 J1⇒J2 : \r\r\n000001 J1←J2 : 41 06 ")},
        {"meaningless 0xF? skipped", bytes({0xA4, 0xF3, 0xB1, 0xFF}), sjis(u"000000 J1⇒J2 : 41 ")},
        {"starts with a low nibble", bytes({0xB1, 0xA4, 0xB2, 0xFF}), "1 42 "},
    });
}

TEST(RenderAscii, Cases)
{
    expectBodies(2, {
        {"worked example", bytes({0xA4, 0xB1, 0xA4, 0xB2, 0xA0, 0xBD, 0xA0, 0xBA, 0x80, 0x96, 0xFF}),
         sjis(u"000000 J1⇒J2 : AB\r\n[LF]\r\n000001 J1←J2 : [ACK]\r\n")},
        {"lead byte at the end of a block", byJ1("A\x82") + byJ2("\xA0") + endCode(),
         sjis(u"000000 J1⇒J2 : A?\r\n000001 J1←J2 : ") + bytes({0xA0}) + "\r\n"},
        {"lone high nibble after a block", byJ1("A") + bytes({0x80, 0xFF}), sjis(u"000000 J1⇒J2 : A\r\n")},
        {"no end code closes the block", byJ1("AB") + byJ2("C"), sjis(u"000000 J1⇒J2 : AB\r\n000001 J1←J2 : C\r\n")},
        {"value past 255 ends with the lines so far",
         byJ1("A") + byJ2("B") + bytes({0x8F, 0x9F, 0x91}) + byJ1("C") + endCode(), sjis(u"000000 J1⇒J2 : A\r\n"), true},
    });
}

TEST(RenderHexChar, Cases)
{
    // A line: its head, the hexadecimal part padded to 47 columns, the characters.
    const auto line = [](const QByteArray &head, const QByteArray &hex, const QByteArray &chars) {
        return head + hex + spaces(47 - int(hex.size())) + " |" + chars + "\r\n";
    };
    const QByteArray j1 = sjis(u"J1⇒[000001] |");
    const QByteArray j2 = sjis(u"J2→[000001] |");
    const QByteArray more = sjis(u"　           |");
    const QByteArray sixteenHex = QByteArray("41 ").repeated(16).left(47);
    expectBodies(3, {
        {"worked example", j1AB_j2ACK, line(j1, "41 42 ", "AB") + line(j2, "06 ", dot)},
        {"block of exactly sixteen bytes", byJ1(QByteArray(16, 'A')) + byJ2("\x06") + endCode(),
         line(j1, sixteenHex, QByteArray(16, 'A')) + line(more, "", "") + line(j2, "06 ", dot)},
        {"seventeenth byte on a continuation line", byJ1(QByteArray(17, 'A')) + endCode(),
         line(j1, sixteenHex, QByteArray(16, 'A')) + line(more, "41 ", "A")},
        {"lead byte at a line end is not paired across lines", byJ1(QByteArray(15, 'A') + "\x82\xA2" + "\x82\xA2") + endCode(),
         line(j1, QByteArray("41 ").repeated(15) + "82", QByteArray(15, 'A') + "?") + line(more, "A2 82 A2 ", "\xA2\x82\xA2")},
        {"starts with a low nibble: no block header", bytes({0xB1, 0xFF}), "1 " + spaces(58) + " |" + dot + "\r\n"},
        {"one assembled value for both senders", bytes({0xA4, 0x80, 0xB1, 0xFF}), line(j1, "", "") + line(j2, "41 ", dot)},
        {"value past 255 shows as a dot", bytes({0xAF, 0xBF, 0xBF, 0xFF}), line(j1, "FF FF ", dot + dot)},
    }, rule(79, "\r\r\n"));
}

// The hexadecimal texts of the k-th to last repeated low nibble after A4:
// "41 ", "41 1 ", ... growing by "1 " up to the 23 columns of a line's hexadecimal part, where it stops growing.
QByteArray repeatedText(int first, int last)
{
    QByteArray all;
    for (int k = first; k <= last; ++k)
        all += ("41 " + QByteArray("1 ").repeated(k - 1)).left(23);
    return all.trimmed();
}

TEST(RenderExchange, Cases)
{
    // J1's lines: characters, the hexadecimal part right-aligned, the label; J2's mirror them.
    const auto j1 = [](const QByteArray &chars, const QByteArray &hex, const QByteArray &label) {
        return chars + spaces(8 - int(chars.size())) + "|" + spaces(23 - int(hex.size())) + hex + label + spaces(23) + "|"
            + spaces(8) + "\r\n";
    };
    const auto j2 = [](const QByteArray &hex, const QByteArray &chars, const QByteArray &label) {
        return spaces(8) + "|" + spaces(23) + label + hex + spaces(23 - int(hex.size())) + "|" + chars + "\r\n";
    };
    const QByteArray first1 = sjis(u"|J1→000001    |");
    const QByteArray second1 = sjis(u"|J1→000002    |");
    const QByteArray first2 = sjis(u"|    000001←J2|");
    const QByteArray second2 = sjis(u"|    000002←J2|");
    const QByteArray more = "|              |";
    expectBodies(4, {
        {"worked example", j1AB_j2ACK, j1("AB", "41 42", first1) + j2("06", dot, first2)},
        {"eight bytes fill a line, the ninth starts another", byJ1("ABCDEFGHI") + byJ2("\x06") + endCode(),
         j1("ABCDEFGH", "41 42 43 44 45 46 47 48", first1) + j1("I", "49", more) + j2("06", dot, first2)},
        {"blocks numbered per side", byJ2("a") + byJ1("b") + byJ2("c") + byJ1("d") + endCode(),
         j2("61", "a", first2) + j1("b", "62", first1) + j2("63", "c", second2) + j1("d", "64", second1)},
        {"pair split by a line break", byJ1("AAAAAAA\x82\xA2") + endCode(),
         j1("AAAAAAA?", "41 41 41 41 41 41 41 82", first1) + j1("\xA2", "A2", more)},
        {"lone high nibble at the end is not shown", byJ1("A") + bytes({0xA4, 0xFF}), j1("A", "41", first1)},
        {"first byte the end code", bytes({0xFF, 0xA4, 0xB1, 0xFF}), ""},
        {"value past 255 shows as a dot", bytes({0xAF, 0xBF, 0xBF, 0xFF}), j1(dot + dot, "FF FF F", first1)},
        {"repeated low nibbles never write negative spaces", bytes({0xA4}) + QByteArray(12, char(0xB1)) + endCode(),
         j1("ABCDEFGH", repeatedText(1, 8), first1) + j1("IJKL", repeatedText(9, 12), more)},
    }, rule(80, "\r\r\n"));
}

TEST(RenderSave, Cases)
{
    expectBodies(5, {
        {"worked example", bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}),
         "000000\tJ1  ->J2\t65 \t41\r\n000001\tJ1<-  J2\t6  \t06\r\n"},
        {"decimal column is three wide", byJ1(QByteArrayView("\x00\x0A\xFF", 3)) + endCode(),
         "000000\tJ1  ->J2\t0  \t00\r\n000001\tJ1  ->J2\t10 \t0A\r\n000002\tJ1  ->J2\t255\tFF\r\n"},
        {"starts with a low nibble", bytes({0xB5, 0xFF}), "000000\tJ1  ->J2\t5  \t5\r\n"},
        {"eight gathered digits still a value", bytes({0xAF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xFF}),
         "000000\tJ1  ->J2\t255\tFF\r\n000001\tJ1  ->J2\t4095\tFFF\r\n000002\tJ1  ->J2\t65535\tFFFF\r\n"
             "000003\tJ1  ->J2\t1048575\tFFFFF\r\n000004\tJ1  ->J2\t16777215\tFFFFFF\r\n"
             "000005\tJ1  ->J2\t268435455\tFFFFFFF\r\n000006\tJ1  ->J2\t4294967295\tFFFFFFFF\r\n"},
        {"a ninth digit ends with the rows so far",
         bytes({0xA4, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0x80, 0x96, 0xFF}),
         "000000\tJ1  ->J2\t65 \t41\r\n000001\tJ1  ->J2\t1041\t411\r\n000002\tJ1  ->J2\t16657\t4111\r\n"
             "000003\tJ1  ->J2\t266513\t41111\r\n000004\tJ1  ->J2\t4264209\t411111\r\n"
             "000005\tJ1  ->J2\t68227345\t4111111\r\n000006\tJ1  ->J2\t1091637521\t41111111\r\n", true},
    }, rule(79, "\r\n\r\n") + sjis(u"行番号\tデータ方向\tDEC\tHEX\r\n\r\n"));
}

TEST(RenderFrame, UndefinedTagsAreCountedInEveryModeAndLeaveTheByteWhole)
{
    const QByteArray clean = byJ1("A") + byJ2("B") + endCode();
    const CaptureBuffer noisy = streamOf({0xA4, 0x00, 0xB1, 0x84, 0x7F, 0xC2, 0x92, 0xD0, 0xE1, 0xFF});
    for (qint32 mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        const RenderResult expected = *renderMonitorData(mode, streamOf(clean), testHeader());
        const RenderResult result = *renderMonitorData(mode, noisy, testHeader());
        EXPECT_EQ(result.ReceiveErrorCount, 5);
        // Same monitored bytes; only the header's byte count differs.
        EXPECT_EQ(show(result.text.mid(expectedHeader(4).size())), show(expected.text.mid(expectedHeader(2).size())));
    }
}

TEST(RenderFrame, LongMalformedRunsStayLinear)
{
    // Long runs of repeated low nibbles only come from edited files; the
    // output must not grow with the square of the run.
    QByteArray stream = bytes({0xA4});
    stream += QByteArray(CaptureBuffer::LastIndex - 1, char(0xB1));
    stream += endCode();
    const CaptureBuffer capture = streamOf(stream);
    for (qint32 mode = 1; mode <= 5; ++mode) {
        const RenderResult result = *renderMonitorData(mode, capture, testHeader());
        EXPECT_LT(result.text.size(), qsizetype(capture.CaptureEnd()) * 40) << mode;
    }
}

TEST(RenderFrame, InPiecesTheTextIsTheSameAndAFailedWriterIsReported)
{
    // Several pieces' worth of rows in every mode, in both directions.
    QByteArray stream;
    for (int i = 0; i < 40000; ++i)
        stream += i % 3 == 0 ? byJ2(QByteArray(1, char(i))) : byJ1(QByteArray(1, char(i)));
    const CaptureBuffer capture = streamOf(stream + endCode());
    for (qint32 mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        const QByteArray whole = renderMonitorData(mode, capture, testHeader())->text;
        // Taken up to the piece numbered `failing`, which fails.
        const auto render = [&](int failing, QByteArray &joined, int &pieces) {
            return *renderMonitorData(mode, capture, testHeader(), {}, ByteMapRequest::None,
                                      [&](QByteArrayView piece) {
                                          joined += piece;
                                          return ++pieces != failing;
                                      });
        };
        QByteArray joined;
        int pieces = 0;
        const RenderResult complete = render(0, joined, pieces);
        EXPECT_TRUE(complete.text.isEmpty());
        EXPECT_TRUE(complete.piecesWritten);
        EXPECT_GT(pieces, 1);
        EXPECT_EQ(joined, whole);

        joined.clear();
        pieces = 0;
        EXPECT_FALSE(render(2, joined, pieces).piecesWritten);
        EXPECT_EQ(pieces, 2); // none after the one that failed
    }
}

// The stream with an undefined tag between each byte's two nibbles: the
// same monitored bytes, handed to a mode nibble by nibble instead of in
// runs of sound bytes.
QByteArray nibbleByNibble(const QByteArray &stream)
{
    QByteArray out;
    for (const char c : stream) {
        out.append(c);
        if ((std::uint8_t(c) >> 4) == 0x8 || (std::uint8_t(c) >> 4) == 0xA)
            out.append(char(0x00));
    }
    return out;
}

// A mode's text after its header, with the cells counted from there.
struct Rendered
{
    QByteArray body;
    std::vector<std::array<qint64, 6>> cells;
};

Rendered renderedBody(qint32 mode, const CaptureBuffer &capture)
{
    const RenderResult result = *renderMonitorData(mode, capture, testHeader(), {}, ByteMapRequest::Wanted);
    const qsizetype header = expectedHeader(capture.DataByteCount()).size();
    Rendered rendered{result.text.mid(header), {}};
    const auto fromBody = [header](qint32 cell) { return cell == MappedByte::NoCell ? qint64(-1) : cell - header; };
    for (const MappedByte &b : result.byteMap)
        rendered.cells.push_back({fromBody(b.hexCell), b.hexLength, fromBody(b.charCell), b.charLength,
                                  qint64(b.sender), b.value});
    return rendered;
}

TEST(RenderFrame, RunsOfSoundBytesRenderAsTheirNibblesOneByOne)
{
    // Turns of random length and content, past 10,000 rows: as many as fit
    // in a buffer with the tags put in.
    QByteArray mixed;
    QRandomGenerator random(33);
    for (bool j1 = true; mixed.size() < 2 * 80000; j1 = !j1) {
        QByteArray turn(1 + random.bounded(40), Qt::Uninitialized);
        for (char &b : turn)
            b = char(random.bounded(256));
        mixed += j1 ? byJ1(turn) : byJ2(turn);
    }
    const std::vector<std::pair<const char *, QByteArray>> streams = {
        {"runs ending at a line end and running past one",
         byJ1(QByteArray(8, 'A')) + byJ2(QByteArray(16, 'B')) + byJ1(QByteArray(17, 'C')) + byJ2(QByteArray(24, 'D'))
             + byJ1("E") + endCode()},
        {"lead bytes at line ends and at the end of a run",
         byJ1(QByteArray(7, 'A') + "\x82\xA2" + QByteArray(6, 'A') + "\x82\xA2") + byJ2("\x81") + byJ1("\x40\xE0")
             + endCode()},
        {"runs longer than a mode takes at once", byJ2(QByteArray(3000, '\x9F')) + byJ1(QByteArray(2500, 'x')) + endCode()},
        {"mixed turns", mixed + endCode()},
    };
    for (qint32 mode = 1; mode <= 5; ++mode) {
        for (const auto &[name, stream] : streams) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ": " << name);
            const Rendered runs = renderedBody(mode, streamOf(stream));
            const Rendered nibbles = renderedBody(mode, streamOf(nibbleByNibble(stream)));
            EXPECT_EQ(show(runs.body), show(nibbles.body));
            EXPECT_EQ(runs.cells, nibbles.cells);
        }
    }
}

// Line, block and row numbers are counted on as text: every carry, up to
// the wrap after 999999, one by one and in steps up to each carry.
TEST(LineNumber, CountsItsLastSixDigitsThroughEveryCarry)
{
    const auto text = [](const LineNumber &number) {
        char digits[LineNumber::Digits];
        number.writeTo(digits);
        return QByteArray(digits, LineNumber::Digits);
    };
    const auto expected = [](qint64 n) { return QByteArray::number(n % 1000000).rightJustified(6, '0'); };
    for (const qint32 start : {0, 99990, 999990}) {
        LineNumber oneByOne(start);
        LineNumber stepped(start);
        QByteArray seen, seenStepped, wanted;
        for (qint64 n = start; n < start + 2000; ++n) {
            wanted += expected(n);
            seen += text(oneByOne);
            oneByOne.next();
        }
        for (qint64 n = start; n < start + 2000; stepped.carry()) {
            for (int k = stepped.stepsBeforeCarry(); k > 0; --k, ++n, stepped.step())
                seenStepped += text(stepped);
        }
        EXPECT_EQ(seen, wanted) << start;
        EXPECT_EQ(seenStepped.left(wanted.size()), wanted) << start;
    }
}

TEST(ReportHeader, NineBitLineNamesOutsideTheCodePageAndTrimming)
{
    ReportHeaderSettings header = testHeader();
    header.dataOnly = false;
    header.dataName = QStringLiteral("/logs/caf\u00e9\U0001F600.dat");
    header.direction = QStringLiteral(" \t　双方向　 "); // only plain spaces are trimmed
    header.port = QStringLiteral("   ");
    QByteArray out;
    WriteReportHeader(out, header, 0);
    EXPECT_TRUE(out.contains(sjis(u"モニターデータ　　： /logs/caf??.dat\r\n"))) << show(out);
    EXPECT_TRUE(out.contains(sjis(u"モニタ方向　　　　： \t　双方向　\r\n"))) << show(out);
    EXPECT_TRUE(out.contains(sjis(u"通信ポート　　　　： \r\n"))) << show(out);
    EXPECT_TRUE(out.endsWith(sjis(u"モニタデータ長　　： ９bit（パリティビットのデータ修得は行いません。）\r\n\r\n")));
}

// UTF-8 on this system: LF line ends, and mode 4's columns in the same
// place on screen in rows with or without an arrow (two bytes in code page
// 932, one column here).
TEST(RenderingAsUtf8, LinesEndInLfAndExchangeRowsLineUp)
{
    const CaptureBuffer capture = streamOf(byJ1("0123456789") + byJ2("ABCDEFGHIJ") + endCode());
    const QByteArray hex = renderingAsUtf8(1, renderMonitorData(1, capture, testHeader())->text);
    EXPECT_EQ(hex.count('\r'), 0);
    EXPECT_TRUE(hex.contains("000000 J1⇒J2 : 30 31 32 33 34 35 36 37 38 39 \n")) << hex.toStdString();

    const QStringList rows = QString::fromUtf8(renderingAsUtf8(4, renderMonitorData(4, capture, testHeader())->text))
                                 .split(u'\n').filter(QStringLiteral("|"));
    ASSERT_EQ(rows.size(), 4);
    for (const QString &row : rows)
        EXPECT_EQ(row.lastIndexOf(u'|'), rows.constFirst().lastIndexOf(u'|')) << row.toStdString();
}
