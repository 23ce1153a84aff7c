// The display modes byte for byte with the report header: each table
// opens with the mode's worked example, then its edge cases.
#include "datatesting.h"

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
        {"no end code closes the block", byJ1("AB") + byJ2("C"),
         sjis(u"000000 J1⇒J2 : AB\r\n000001 J1←J2 : C\r\n")},
        {"value past 255 ends with the lines so far",
         byJ1("A") + byJ2("B") + bytes({0x8F, 0x9F, 0x91}) + byJ1("C") + endCode(),
         sjis(u"000000 J1⇒J2 : A\r\n"), true},
    });
}

TEST(RenderHexChar, Cases)
{
    const QByteArray sixteenHex = QByteArray("41 ").repeated(16).left(47);
    const QByteArray continuation = sjis(u"　           |");
    expectBodies(3, {
        {"worked example", j1AB_j2ACK,
         sjis(u"J1⇒[000001] |41 42 ") + spaces(41) + " |AB\r\n"
             + sjis(u"J2→[000001] |06 ") + spaces(44) + " |" + dot + "\r\n"},
        {"block of exactly sixteen bytes", byJ1(QByteArray(16, 'A')) + byJ2("\x06") + endCode(),
         sjis(u"J1⇒[000001] |") + sixteenHex + " |" + QByteArray(16, 'A') + "\r\n" + continuation + spaces(47) + " |\r\n"
             + sjis(u"J2→[000001] |06 ") + spaces(44) + " |" + dot + "\r\n"},
        {"seventeenth byte on a continuation line", byJ1(QByteArray(17, 'A')) + endCode(),
         sjis(u"J1⇒[000001] |") + sixteenHex + " |" + QByteArray(16, 'A') + "\r\n"
             + continuation + "41 " + spaces(44) + " |A\r\n"},
        {"lead byte at a line end is not paired across lines",
         byJ1(QByteArray(15, 'A') + "\x82\xA2" + "\x82\xA2") + endCode(),
         sjis(u"J1⇒[000001] |") + QByteArray("41 ").repeated(15) + "82" + " |" + QByteArray(15, 'A') + "?\r\n"
             + continuation + "A2 82 A2 " + spaces(38) + " |" + bytes({0xA2, 0x82, 0xA2}) + "\r\n"},
        {"starts with a low nibble: no block header", bytes({0xB1, 0xFF}),
         "1 " + spaces(58) + " |" + dot + "\r\n"},
        {"one assembled value for both senders", bytes({0xA4, 0x80, 0xB1, 0xFF}),
         sjis(u"J1⇒[000001] |") + spaces(47) + " |\r\n" + sjis(u"J2→[000001] |41 ") + spaces(44) + " |" + dot + "\r\n"},
        {"value past 255 shows as a dot", bytes({0xAF, 0xBF, 0xBF, 0xFF}),
         sjis(u"J1⇒[000001] |FF FF ") + spaces(41) + " |" + dot + dot + "\r\n"},
    }, rule(79, "\r\r\n"));
}

// The hexadecimal texts of the k-th to last repeated low nibble after A4:
// "41 ", "41 1 ", ... growing by "1 " up to the 23 columns of a line's
// hexadecimal part, where it stops growing.
QByteArray repeatedText(int first, int last)
{
    QByteArray all;
    for (int k = first; k <= last; ++k)
        all += ("41 " + QByteArray("1 ").repeated(k - 1)).left(23);
    return all;
}

TEST(RenderExchange, Cases)
{
    const QByteArray j1Label = sjis(u"|J1→000001    |");
    const QByteArray j2Label = sjis(u"|    000001←J2|");
    const QByteArray j2Label2 = sjis(u"|    000002←J2|");
    const QByteArray j1Label2 = sjis(u"|J1→000002    |");
    const QByteArray more = "|              |";
    const QByteArray j1Tail = spaces(23) + "|" + spaces(8) + "\r\n";
    const QByteArray j2Head = spaces(8) + "|" + spaces(23);
    expectBodies(4, {
        {"worked example", j1AB_j2ACK,
         "AB" + spaces(6) + "|" + spaces(18) + "41 42" + j1Label + j1Tail
             + j2Head + j2Label + "06" + spaces(21) + "|" + dot + "\r\n"},
        {"eight bytes fill a line, the ninth starts another", byJ1("ABCDEFGHI") + byJ2("\x06") + endCode(),
         "ABCDEFGH|41 42 43 44 45 46 47 48" + j1Label + j1Tail + "I" + spaces(7) + "|" + spaces(21) + "49" + more + j1Tail
             + j2Head + j2Label + "06" + spaces(21) + "|" + dot + "\r\n"},
        {"blocks numbered per side", byJ2("a") + byJ1("b") + byJ2("c") + byJ1("d") + endCode(),
         j2Head + j2Label + "61" + spaces(21) + "|a\r\n" + "b" + spaces(7) + "|" + spaces(21) + "62" + j1Label + j1Tail
             + j2Head + j2Label2 + "63" + spaces(21) + "|c\r\n"
             + "d" + spaces(7) + "|" + spaces(21) + "64" + j1Label2 + j1Tail},
        {"pair split by a line break", byJ1("AAAAAAA\x82\xA2") + endCode(),
         "AAAAAAA?|41 41 41 41 41 41 41 82" + j1Label + j1Tail
             + bytes({0xA2}) + spaces(7) + "|" + spaces(21) + "A2" + more + j1Tail},
        {"lone high nibble at the end is not shown", byJ1("A") + bytes({0xA4, 0xFF}),
         "A" + spaces(7) + "|" + spaces(21) + "41" + j1Label + j1Tail},
        {"first byte the end code", bytes({0xFF, 0xA4, 0xB1, 0xFF}), ""},
        {"value past 255 shows as a dot", bytes({0xAF, 0xBF, 0xBF, 0xFF}),
         dot + dot + spaces(6) + "|" + spaces(16) + "FF FF F" + j1Label + j1Tail},
        {"repeated low nibbles never write negative spaces", bytes({0xA4}) + QByteArray(12, char(0xB1)) + endCode(),
         "ABCDEFGH|" + repeatedText(1, 8).trimmed() + j1Label + j1Tail
             + "IJKL" + spaces(4) + "|" + repeatedText(9, 12).trimmed() + more + j1Tail},
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
        {"repeated low nibbles gather digits", bytes({0xA4, 0xB1, 0xB2, 0xFF}),
         "000000\tJ1  ->J2\t65 \t41\r\n000001\tJ1  ->J2\t1042\t412\r\n"},
        {"eight gathered digits still a value",
         bytes({0xAF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xFF}),
         "000000\tJ1  ->J2\t255\tFF\r\n000001\tJ1  ->J2\t4095\tFFF\r\n000002\tJ1  ->J2\t65535\tFFFF\r\n"
             "000003\tJ1  ->J2\t1048575\tFFFFF\r\n000004\tJ1  ->J2\t16777215\tFFFFFF\r\n"
             "000005\tJ1  ->J2\t268435455\tFFFFFFF\r\n000006\tJ1  ->J2\t4294967295\tFFFFFFFF\r\n"},
        {"a ninth digit ends with the rows so far",
         bytes({0xA4, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0x80, 0x96, 0xFF}),
         "000000\tJ1  ->J2\t65 \t41\r\n000001\tJ1  ->J2\t1041\t411\r\n000002\tJ1  ->J2\t16657\t4111\r\n"
             "000003\tJ1  ->J2\t266513\t41111\r\n000004\tJ1  ->J2\t4264209\t411111\r\n"
             "000005\tJ1  ->J2\t68227345\t4111111\r\n000006\tJ1  ->J2\t1091637521\t41111111\r\n",
         true},
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

TEST(RenderFrame, OtherModeNumbersRenderNothing)
{
    for (qint32 mode : {0, 6})
        EXPECT_FALSE(renderMonitorData(mode, streamOf({0xA4, 0xB1, 0xFF}), testHeader()).has_value()) << mode;
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
