// Frames written as text, CSV and JSON lines, and the filter that chooses
// which of them are written.
#include "framestesting.h"

#include "frames/frameformat.h"

using namespace ferrox;
using namespace ferrox::testing;

// A filter case names the one field it sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// The classic request of server 17 with its known CRC (76 87) at 1 ms, answered 12 ms after its last byte.
FrameList answeredRequest()
{
    QList<TimedByte> bytes = sentAt(Direction::J1, QByteArray::fromHex("1103006B00037687"), 1000);
    bytes += sentAt(Direction::J2, QByteArray::fromHex("110306022B00000064C8BA"), 13000);
    const TimedStream stream = timedStream(bytes);
    FramerOptions options;
    options.gapMicros = 3500;
    return buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")), options);
}

FrameList findings()
{
    const TimedStream stream = modbusFindings();
    return buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")));
}

// The numbers, from 1, of the frames the filter accepts: "13".
std::string chosenBy(const FrameFilter &filter, const FrameList &list)
{
    std::string numbers;
    for (qsizetype i = 0; i < list.frames.size(); ++i)
        numbers += filter.accepts(list.frames.at(i)) ? std::to_string(i + 1) : std::string();
    return numbers;
}

} // namespace

TEST(FrameFormat, TextNamesThePairAndTheResponseTime)
{
    EXPECT_EQ(QString::fromUtf8(formatFrames(answeredRequest(), FrameFormat::Text)),
              QStringLiteral("区切りの間隔: 3.500ms  時刻の分解能: 約12.000ms\n"
                             "番号          時刻(秒)    間隔(ms)  方向     長さ  判定  内容  [HEX]\n"
                             "#1            0.001000           -  J1→J2     8  OK  "
                             "要求 スレーブ17 FC03 Read Holding Registers 開始107 個数3 (応答 #2)  [11 03 00 6B 00 03 76 87]\n"
                             "#2            0.013000      12.000  J1←J2    11  OK  "
                             "応答 スレーブ17 FC03 Read Holding Registers 値 0x022B 0x0000 0x0064 (#1 への応答, 12.000ms)  "
                             "[11 03 06 02 2B 00 00 00 64 C8 BA]\n"));
}

// A later file of a series goes on with the numbers of the files before;
// the text has a line where its files meet across a gap, rows do not.
TEST(FrameFormat, ASeriesNumbersOnAndTheTextShowsItsBreaks)
{
    FrameList list = answeredRequest();
    list.firstNumber = 41;
    SeriesGap missing;
    missing.firstFile = missing.lastFile = QStringLiteral("long-00004.dat");
    list.breaks = {{1, missing, std::nullopt}};
    const QStringList text = QString::fromUtf8(formatFrames(list, FrameFormat::Text)).split(u'\n');
    EXPECT_TRUE(text.value(2).startsWith(QStringLiteral("#41 "))) << text.value(2).toStdString();
    EXPECT_TRUE(text.value(2).contains(QStringLiteral("(応答 #42)")));
    EXPECT_EQ(text.value(3), seriesGapText(missing));
    EXPECT_TRUE(formatFrames(list, FrameFormat::Csv).split('\n').value(2).startsWith("42,13000,"));
}

TEST(FrameFormat, CsvQuotesTextFieldsAndLeavesUnknownNumbersEmpty)
{
    const FrameList list = decoded(byJ2("a,\"b\"\r\n"), QStringLiteral("lines"));
    EXPECT_EQ(formatFrames(list, FrameFormat::Csv),
              QByteArray("number,time_us,gap_us,direction,length,hex,characters,summary,verdict,problem,kind,paired_with,response_us,"
                         "response_below_resolution\r\n"
                         "1,,,J2,7,61 2C 22 62 22 0D 0A,\"a,\"\"b\"\"[CR][LF]\",\"a,\"\"b\"\"\",,,,,,\r\n"));
}

TEST(FrameFormat, JsonLinesCarryTheNumbersAndNullForTheUnknown)
{
    const QByteArray lines = formatFrames(answeredRequest(), FrameFormat::JsonLines);
    EXPECT_EQ(lines.split('\n').at(1),
              QByteArray("{\"number\":2,\"time_us\":13000,\"gap_us\":12000,\"direction\":\"J2\",\"length\":11,"
                         "\"hex\":\"11 03 06 02 2B 00 00 00 64 C8 BA\",\"characters\":\"･[ETX][ACK][STX]+･･･dﾈｺ\","
                         "\"summary\":\"応答 スレーブ17 FC03 Read Holding Registers 値 0x022B 0x0000 0x0064\","
                         "\"verdict\":\"OK\",\"problem\":\"\",\"kind\":\"\",\"paired_with\":1,\"response_us\":12000,"
                         "\"response_below_resolution\":false}"));
    const QByteArray unchecked = formatFrames(decoded(byJ1("x"), QStringLiteral("lines")), FrameFormat::JsonLines);
    EXPECT_TRUE(unchecked.contains("\"time_us\":null,\"gap_us\":null,")) << unchecked.toStdString();
    EXPECT_TRUE(unchecked.contains("\"verdict\":null,")) << unchecked.toStdString();
}

// Programs read the findings by their kinds, beside the words for people;
// an exception response is valid.
TEST(FrameFormat, CsvAndJsonLinesCarryTheKindsBesideTheProblem)
{
    const FrameList list = findings();
    const QList<QByteArray> json = formatFrames(list, FrameFormat::JsonLines).split('\n');
    EXPECT_TRUE(json.at(3).contains("\"verdict\":\"OK\",\"problem\":\"例外コード02 ILLEGAL DATA ADDRESS\",\"kind\":\"exception\","))
        << json.at(3).toStdString();
    EXPECT_TRUE(json.at(4).contains("\"verdict\":\"NG\",\"problem\":\"CRC不一致(計算 76 87, 受信 76 86)\",\"kind\":\"crc\","))
        << json.at(4).toStdString();
    EXPECT_TRUE(formatFrames(list, FrameFormat::Csv).contains(",NG,\"CRC不一致(計算 76 87, 受信 76 86)\",crc,,,\r\n"));
}

// A request and its response that arrived in one read have no measurable
// response time: it is below the times' resolution, never 0.
TEST(FrameFormat, ResponseTimesBelowTheResolutionReadAsBelowIt)
{
    const QByteArray request = QByteArray::fromHex("1103006B00037687");
    const QByteArray response = QByteArray::fromHex("110306022B00000064C8BA");
    QList<TimedByte> bytes = sentAt(Direction::J1, request, 5000);
    bytes += sentAt(Direction::J2, response, 5000);
    bytes += sentAt(Direction::J1, request, 10020);
    bytes += sentAt(Direction::J2, response, 15040); // steps of 5.02 ms: the resolution
    const TimedStream stream = timedStream(bytes);
    const FrameList list = buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")));
    ASSERT_EQ(list.frames.size(), 4);
    EXPECT_EQ(frameResponseText(list.frames.at(1), list), QStringLiteral("< 5.1"));
    EXPECT_EQ(frameResponseText(list.frames.at(3), list), QStringLiteral("5.020")) << "the resolution itself is measured";
    EXPECT_TRUE(QString::fromUtf8(formatFrames(list, FrameFormat::Text)).contains(QStringLiteral("(#1 への応答, < 5.1ms)")));
    const QList<QByteArray> json = formatFrames(list, FrameFormat::JsonLines).split('\n');
    EXPECT_TRUE(json.at(1).endsWith("\"response_us\":0,\"response_below_resolution\":true}")) << json.at(1).toStdString();
}

TEST(FrameFilter, ChoosesBySideVerdictBytesAndText)
{
    // J1 "PING" (good), J2 "OK" (good), J1 "PIN" (its BCC wrong), as STX/ETX with XOR.
    const FrameList list = decoded(byJ1("\x02PING\x03\x13") + byJ2("\x02OK\x03\x07") + byJ1("\x02PIN\x03\x01"),
                                   QStringLiteral("stx-etx:xor"));
    ASSERT_EQ(list.frames.size(), 3);
    EXPECT_EQ(chosenBy({}, list), "123");
    EXPECT_EQ(chosenBy({.direction = Direction::J1}, list), "13");
    EXPECT_EQ(chosenBy({.failedOnly = true}, list), "3");
    EXPECT_EQ(chosenBy({.bytes = QByteArray("NG\x03")}, list), "1");
    EXPECT_EQ(chosenBy({.text = QStringLiteral("ok")}, list), "2");
    EXPECT_EQ(chosenBy({.direction = Direction::J2, .failedOnly = true}, list), "");
}

// What `decode --only` and the frame view's kind choice take.
TEST(FrameFilter, ChoosesByKindsAndSlowResponses)
{
    const FrameList list = findings();
    ASSERT_EQ(list.frames.size(), 5);
    const auto chosen = [&list](const char *only) {
        const std::optional<FrameFilter> filter = frameFilterNamed(QLatin1String(only));
        return filter ? chosenBy(*filter, list) : std::string("refused");
    };
    EXPECT_EQ(chosen("j2"), "24");
    EXPECT_EQ(chosen("errors"), "5");
    EXPECT_EQ(chosen("exceptions"), "4");
    EXPECT_EQ(chosen("crc"), "5");
    EXPECT_EQ(chosen("unpaired"), "");
    EXPECT_EQ(chosen("slow:12"), "4");
    EXPECT_EQ(chosen("slow:11.5"), "24");
    EXPECT_EQ(chosen("slow:"), "refused");
    EXPECT_EQ(chosen("slow:-1"), "refused");
    EXPECT_EQ(chosen("crcs"), "refused");
}
