// The timeline: direction runs, response gaps and their statistics.
#include "data/datatesting.h"

#include "timeline/timeline.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// A poll and its answers: J1 "PQ" (stream 0..3), J2 "abc" (4..9), J1 "R"
// (10..11), J2 "de" (12..15), J1 "S" (16..17), then the end code.
const QByteArray exchange = byJ1("PQ") + byJ2("abc") + byJ1("R") + byJ2("de") + byJ1("S") + endCode();

} // namespace

TEST(Timeline, GapsRunFromTheOtherSidesLastByteToTheFirstOfTheAnswer)
{
    // Pieces: "PQ" at 1000; "ab" at 3500; "c" (its low nibble at 9) at
    // 4000; "R" at 9000; "de" at 12000, "S" at 12500.
    ArrivalTimes times;
    times.startEpochMicros = 1796562051000000;
    times.arrivals = {{0, 1000}, {4, 3500}, {9, 4000}, {10, 9000}, {12, 12000}, {17, 12500}};
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(streamOf(exchange)), times);
    // J1 answered after 5000 and 500: an even count's median is the middle two's mean.
    EXPECT_EQ(timelineText(timeline),
              QStringLiteral("モニター開始時刻　： 2026-12-06T13:00:51.000000+00:00\n"
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
    struct Case { const char *name; QByteArray stream; qint32 count; qint32 errorOffset; };
    const Case cases[] = {
        {"sound", exchange, 9, -1},
        {"end code after 0xF3", byJ1("P") + bytes({0xF3}) + endCode(), 1, 3},
        {"interleaved nibbles", byJ1("PQ") + bytes({0xA4, 0x80, 0xB1, 0x96}) + endCode(), 2, 5},
        {"undefined tag", byJ2("ab") + bytes({0x55}) + byJ2("c") + endCode(), 2, 4},
        {"lone high nibble at CaptureEnd", byJ1("P") + bytes({0xA4}), 1, -1},
    };
    for (const Case &c : cases) {
        const MonitoredBytes result = assembleMonitoredBytes(streamOf(c.stream));
        EXPECT_EQ(result.bytes.size(), c.count) << c.name;
        EXPECT_EQ(result.errorOffset, c.errorOffset) << c.name;
    }
}
