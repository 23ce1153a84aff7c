// The documented examples of the five display modes, byte for byte with
// the report header.
#include "datatesting.h"

#include "data/renderer.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

struct Example
{
    const char *name;
    qint32 mode;
    QByteArray stream;
    int monitoredBytes;
    QByteArray body; // everything after the header
};

QByteArray rule(int n, const char *end) { return QByteArray(n, '_') + end; }

std::vector<Example> examples()
{
    const QByteArray j1AB_j2ACK = bytes({0xA4, 0xB1, 0xA4, 0xB2, 0x80, 0x96, 0xFF});
    return {
        {"hex", 1, j1AB_j2ACK, 3,
         sjis(u"000000 J1⇒J2 : 41 42 \r\r\n000001 J1←J2 : 06 ")},
        {"ascii", 2, bytes({0xA4, 0xB1, 0xA4, 0xB2, 0xA0, 0xBD, 0xA0, 0xBA, 0x80, 0x96, 0xFF}), 5,
         sjis(u"000000 J1⇒J2 : AB\r\n[LF]\r\n000001 J1←J2 : [ACK]\r\n")},
        {"hex and characters", 3, j1AB_j2ACK, 3,
         rule(79, "\r\r\n")
             + sjis(u"J1⇒[000001] |41 42 ") + spaces(41) + " |AB\r\n"
             + sjis(u"J2→[000001] |06 ") + spaces(44) + " |" + bytes({0xA5}) + "\r\n"},
        {"exchange", 4, j1AB_j2ACK, 3,
         rule(80, "\r\r\n")
             + "AB" + spaces(6) + "|" + spaces(18) + "41 42" + sjis(u"|J1→000001    |") + spaces(23) + "|" + spaces(8) + "\r\n"
             + spaces(8) + "|" + spaces(23) + sjis(u"|    000001←J2|") + "06" + spaces(21) + "|" + bytes({0xA5}) + "\r\n"},
        {"listing", 5, bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}), 2,
         rule(79, "\r\n\r\n")
             + sjis(u"行番号\tデータ方向\tDEC\tHEX\r\n\r\n")
             + "000000\tJ1  ->J2\t65 \t41\r\n"
             + "000001\tJ1<-  J2\t6  \t06\r\n"},
    };
}

} // namespace

TEST(RenderExamples, EachModeWritesTheDocumentedText)
{
    for (const Example &e : examples()) {
        const std::optional<RenderResult> result = renderMonitorData(e.mode, streamOf(e.stream), testHeader());
        ASSERT_TRUE(result.has_value()) << e.name;
        EXPECT_FALSE(result->failed) << e.name;
        EXPECT_EQ(result->ReceiveErrorCount, 0) << e.name;
        EXPECT_EQ(show(bodyOf(*result, e.monitoredBytes)), show(e.body)) << e.name;
    }
}

TEST(RenderExamples, ArrowsAndLabelsAreTheirCodePage932Bytes)
{
    const QByteArray text = RenderHexChar(streamOf({0xA4, 0xB1, 0x80, 0x96, 0xFF}), testHeader()).text;
    EXPECT_TRUE(text.contains(bytes({'J', '1', 0x81, 0xCB, '['}))); // J1⇒[
    EXPECT_TRUE(text.contains(bytes({'J', '2', 0x81, 0xA8, '['}))); // J2→[
    const QByteArray exchange = RenderExchange(streamOf({0xA4, 0xB1, 0x80, 0x96, 0xFF}), testHeader()).text;
    EXPECT_TRUE(exchange.contains(bytes({'|', 'J', '1', 0x81, 0xA8}))); // |J1→
    EXPECT_TRUE(exchange.contains(bytes({0x81, 0xA9, 'J', '2', '|'}))); // ←J2|
}

TEST(RenderExamples, OtherModeNumbersRenderNothing)
{
    for (qint32 mode : {0, 6, -1, 100})
        EXPECT_FALSE(renderMonitorData(mode, streamOf({0xA4, 0xB1, 0xFF}), testHeader()).has_value()) << mode;
}

TEST(RenderExamples, RenderingTwiceGivesTheSameTextAndErrorCount)
{
    // Three undefined tags; nothing carries over from one rendering to the next.
    const CaptureBuffer capture = streamOf({0xA4, 0x12, 0xB1, 0x80, 0xC0, 0x96, 0x70, 0xFF});
    for (qint32 mode = 1; mode <= 5; ++mode) {
        const RenderResult first = *renderMonitorData(mode, capture, testHeader());
        const RenderResult second = *renderMonitorData(mode, capture, testHeader());
        EXPECT_EQ(first.ReceiveErrorCount, 3) << mode;
        EXPECT_EQ(second.ReceiveErrorCount, 3) << mode;
        EXPECT_EQ(first.text, second.text) << mode;
    }
}
