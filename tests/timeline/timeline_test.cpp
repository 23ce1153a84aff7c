// The timeline's runs, gaps and statistics; the export rows and pcap bytes (tshark
// reads them end to end); splitting a long stream into data files at whole monitored bytes.
#include "data/datatesting.h"

#include "data/examine.h"
#include "data/sidecar.h"
#include "timeline/exportformats.h"
#include "timeline/splitfiles.h"
#include "timeline/streamsplitter.h"
#include "timeline/timeline.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ctime>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// A poll and its answers: J1 "PQ" (stream 0..3), J2 "abc" (4..9), J1 "R"
// (10..11), J2 "de" (12..15), J1 "S" (16..17), then the end code.
const QByteArray exchange = byJ1("PQ") + byJ2("abc") + byJ1("R") + byJ2("de") + byJ1("S") + endCode();

QByteArray exported(const QByteArray &stream, const std::optional<ArrivalTimes> &times, ExportFormat format)
{
    return exportBytes(assembleMonitoredBytes(streamOf(stream)), times, format);
}

} // namespace

// A person reads the start in local time, as the window and the monitor
// show theirs, whatever zone the capture was recorded in.
TEST(Timeline, TheStartIsShownInTheReadersLocalTime)
{
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "JST-9");
    ::tzset();
    ArrivalTimes times;
    times.startEpochMicros = 1796562051250000; // recorded at +00:00
    const QString text = timelineText(buildTimeline(assembleMonitoredBytes(streamOf(exchange)), times));
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    ::tzset();
    EXPECT_TRUE(text.startsWith(QStringLiteral("モニター開始時刻　： 2026-12-06T22:00:51.250000+09:00\n")))
        << text.toStdString();
}

TEST(Timeline, GapsRunFromTheOtherSidesLastByteToTheFirstOfTheAnswer)
{
    // Pieces: "PQ" at 1000; "ab" at 3500; "c" (its low nibble at 9) at 4000; "R" at 9000; "de" at 12000, "S" at 12500.
    ArrivalTimes times;
    times.startEpochMicros = 1796562051000000;
    times.arrivals = {{0, 1000}, {4, 3500}, {9, 4000}, {10, 9000}, {12, 12000}, {17, 12500}};
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(streamOf(exchange)), times);
    // J1 answered after 5000 and 500: an even count's median is the middle two's mean.
    EXPECT_EQ(timelineText(timeline), QStringLiteral("モニター開始時刻　： 2026-12-06T13:00:51.000000+00:00\n"
                             "  到着時刻(秒)  方向       バイト数  応答時間(ms)\n"
                             "      0.001000  J1→J2            2             -\n"
                             "      0.003500  J1←J2            3         2.500\n"
                             "      0.009000  J1→J2            1         5.000\n"
                             "      0.012000  J1←J2            2         3.000\n"
                             "      0.012500  J1→J2            1         0.500\n"
                             "\n"
                             "応答時間(ms)\n"
                             "方向         件数        最小      中央値        最大\n"
                             "J1→J2          2       0.500       2.750       5.000\n"
                             "J1←J2          2       2.500       2.750       3.000\n"));
}

TEST(Timeline, WithoutTimesTheRunsRemainAndTheTimesAreUnknown)
{
    const QString text = timelineText(buildTimeline(assembleMonitoredBytes(streamOf(exchange)), std::nullopt));
    EXPECT_TRUE(text.contains(QStringLiteral("\n             -  J1←J2            3             -\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("J1←J2          0           -           -           -\n")));
}

TEST(MonitoredBytes, AreTakenAsFarAsTheStreamIsSound)
{
    const struct { const char *name; QByteArray stream; qint32 count; qint32 errorOffset; } cases[] = {
        {"sound", exchange, 9, -1},
        {"end code after 0xF3", byJ1("P") + bytes({0xF3}) + endCode(), 1, 3},
        {"interleaved nibbles", byJ1("PQ") + bytes({0xA4, 0x80, 0xB1, 0x96}) + endCode(), 2, 5},
        {"undefined tag", byJ2("ab") + bytes({0x55}) + byJ2("c") + endCode(), 2, 4},
        {"lone high nibble at CaptureEnd", byJ1("P") + bytes({0xA4}), 1, -1},
    };
    for (const auto &c : cases) {
        const MonitoredBytes result = assembleMonitoredBytes(streamOf(c.stream));
        EXPECT_EQ(result.bytes.size(), c.count) << c.name;
        EXPECT_EQ(result.errorOffset, c.errorOffset) << c.name;
    }
}

TEST(Export, RowsOfEveryFormat)
{
    // J1 sends ',' and '"' (characters CSV must quote), J2 answers ACK,
    // 0xB1 (half-width katakana) and 0xFF; the J2 piece arrives 2.5 ms in.
    const QByteArray stream = byJ1(",\"") + byJ2("\x06\xB1\xFF") + endCode();
    ArrivalTimes times;
    times.arrivals = {{0, 1000}, {4, 3500}};
    const struct { const char *name; QByteArray stream; std::optional<ArrivalTimes> times; ExportFormat format; const char *text; } cases[] = {
        {"csv with times", stream, times, ExportFormat::Csv, "index,direction,hex,decimal,character,arrival_us\r\n"
         "0,J1,2C,44,\",\",1000\r\n"
         "1,J1,22,34,\"\"\"\",1000\r\n"
         "2,J2,06,6,[ACK],3500\r\n"
         "3,J2,B1,177,\xEF\xBD\xB1,3500\r\n"
         "4,J2,FF,255,\xEF\xBD\xA5,3500\r\n"}, // "･", as decode writes a byte of no character
        {"json lines without times", byJ1("\"\r") + byJ2("\xFF") + endCode(), std::nullopt, ExportFormat::JsonLines,
         "{\"index\":0,\"direction\":\"J1\",\"hex\":\"22\",\"decimal\":34,\"character\":\"\\\"\",\"arrival_us\":null}\n"
         "{\"index\":1,\"direction\":\"J1\",\"hex\":\"0D\",\"decimal\":13,\"character\":\"[CR]\",\"arrival_us\":null}\n"
         "{\"index\":2,\"direction\":\"J2\",\"hex\":\"FF\",\"decimal\":255,\"character\":\"\xEF\xBD\xA5\",\"arrival_us\":null}\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(exported(c.stream, c.times, c.format), QByteArray(c.text)) << c.name;
}

TEST(Export, PcapHasOneSerialLineRecordPerRun)
{
    // Started 2026-12-06T13:00:51Z + 0.25 s; J1 "AB" arrives at +1 ms, J2's ACK at +3.5 ms.
    ArrivalTimes times;
    times.startEpochMicros = 1796562051250000;
    times.arrivals = {{0, 1000}, {4, 3500}};
    const QByteArray pcap = exported(byJ1("AB") + byJ2("\x06") + endCode(), times, ExportFormat::Pcap);
    const QByteArray expected = QByteArray::fromHex(
        "d4c3b2a1 0200 0400 00000000 00000000 00000400 fa000000" // header: µs, v2.4, snap 262144, type 250
        "835c156b 78d40300 0e000000 0e000000"                     // 1796562051.251000 s, 14 bytes
        "6b155c83 0003d478 01 00 0000 4142"                       // serial header: time, Tx start; "AB"
        "835c156b 3cde0300 0d000000 0d000000"                     // .253500 s, 13 bytes
        "6b155c83 0003de3c 02 00 0000 06");                       // Rx start; ACK
    EXPECT_EQ(pcap.toHex(), expected.toHex());
    // Without times the records start at 0; the bytes are the same.
    const QByteArray untimed = exported(byJ1("AB") + byJ2("\x06") + endCode(), std::nullopt, ExportFormat::Pcap);
    EXPECT_EQ(untimed.mid(24, 8), QByteArray(8, '\0'));
    EXPECT_EQ(untimed.size(), pcap.size());
}

TEST(StreamSplitter, PiecesAreWholeStreamsThatJoinToTheOriginal)
{
    QByteArray stream; // 5000 monitored bytes of both sides in turns of varied length
    for (int i = 0; stream.size() < 10000; ++i)
        stream += (i % 3 ? byJ1(QByteArray(i % 7 + 1, char(i))) : byJ2(QByteArray(i % 5 + 1, char(0xF0 - i))));
    stream.truncate(10000);
    struct Case { qint32 limit; qsizetype block; };
    // Odd limits land on high nibbles; large blocks cut several pieces.
    const Case cases[] = {{1000, 64}, {999, 64}, {999, 2500}, {2, 7}, {10000, 4096}, {StreamSplitter::LargestPiece, 333}};
    for (const Case &c : cases) {
        StreamSplitter splitter(c.limit, {});
        QList<StreamSplitter::Piece> pieces;
        qint64 micros = 0;
        for (qsizetype at = 0; at < stream.size(); at += c.block)
            pieces += splitter.feed(QByteArrayView(stream).sliced(at, std::min(c.block, stream.size() - at)), micros += 100);
        if (std::optional<StreamSplitter::Piece> last = splitter.finish(false))
            pieces.append(*last);

        QByteArray joined;
        for (const StreamSplitter::Piece &piece : std::as_const(pieces)) {
            const CaptureBuffer capture = streamOf(piece.stream);
            EXPECT_LE(capture.CaptureEnd(), c.limit) << c.limit;
            EXPECT_EQ(ExamineMonitorData(capture), 0) << c.limit;
            // Each stream byte keeps the time of the block it came in, the first of each piece included.
            for (qint32 i = 0; i < capture.CaptureEnd(); i += 97) {
                const qint64 original = joined.size() + i;
                ASSERT_EQ(piece.times.microsAt(i), (original / c.block + 1) * 100) << c.limit << " at " << original;
            }
            joined += piece.stream.chopped(1);
        }
        EXPECT_EQ(joined, stream) << c.limit;
    }
}

TEST(StreamSplitter, AStreamEndingAtACutLeavesNoEmptyPieceButAnEmptyStreamIsOne)
{
    StreamSplitter exact(4, {});
    EXPECT_EQ(exact.feed(byJ1("AB"), 0).size(), 1);
    EXPECT_FALSE(exact.finish(false));
    EXPECT_EQ(StreamSplitter(4, {}).finish(false)->stream, endCode());
}

// A series the program ended between a byte's two halves (a lost link)
// keeps every whole byte and drops the lone half, as a capture in the
// buffer does; the board's own stream keeps what it sent.
TEST(StreamSplitter, TheProgramsOwnEndDropsALoneHighHalf)
{
    const QByteArray cut = byJ1("AB") + bytes({0xA4});
    StreamSplitter lost(100, {});
    lost.feed(cut, 0);
    EXPECT_EQ(lost.finish(true)->stream, byJ1("AB") + endCode());
    EXPECT_TRUE(lost.lastByteCut());
    StreamSplitter board(100, {});
    board.feed(cut, 0);
    EXPECT_EQ(board.finish(false)->stream, cut + endCode());
    EXPECT_FALSE(board.lastByteCut());
}

TEST(SplitFiles, NumberedFilesWithTheirTimesInARing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("long.dat"));
    SplitFiles files(out, 3);
    StreamSplitter::Piece piece {byJ1("AB") + endCode(), {}};
    piece.times.arrivals = {{0, 10}};
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(files.write(piece).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("long-00003.dat"), QStringLiteral("long-00003.dat.times"),
                           QStringLiteral("long-00004.dat"), QStringLiteral("long-00004.dat.times"),
                           QStringLiteral("long-00005.dat"), QStringLiteral("long-00005.dat.times")}));
    EXPECT_EQ(readSidecar(files.pieceName(5), 5).times, piece.times);
}
