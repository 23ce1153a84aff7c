// The response-time chart: which exchanges it plots, the spread of each
// side, and the chart handed to the PNG painter program.
#include "framestesting.h"

#include "frames/responsechart.h"
#include "frames/responsechartstream.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

QList<ResponsePoint> answersOf(Direction direction, std::initializer_list<qint64> millis)
{
    QList<ResponsePoint> points;
    qint64 at = 0;
    for (const qint64 ms : millis)
        points.append({at += 100000, ms * 1000, direction, qint32(points.size())});
    return points;
}

} // namespace

TEST(ResponseChart, SpreadGivesMinMedianNearestRank95AndMax)
{
    // 20 answers of 1..20 ms: the 95th percentile is the 19th; a lone answer is all four.
    QList<ResponsePoint> points = answersOf(Direction::J2, {20, 3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    points += answersOf(Direction::J1, {7});
    const ResponseSpread j2 = spreadOf(points, Direction::J2);
    EXPECT_EQ(j2.count, 20);
    EXPECT_EQ(j2.minimumMicros, 1000);
    EXPECT_EQ(j2.medianMicros, 10500);
    EXPECT_EQ(j2.p95Micros, 19000);
    EXPECT_EQ(j2.maximumMicros, 20000);
    EXPECT_EQ(spreadOf(points, Direction::J1).p95Micros, 7000);
    EXPECT_EQ(spreadOf({}, Direction::J1).count, 0);
}

// Paired frames give one dot a pair: the frame view's chart (FrameView.AClickOnAChartDot…).
TEST(ResponseChart, WithoutPairsEachTurnOfTheConversationIsPlotted)
{
    // Lines pair nothing: every change of side counts, a line after a line of the same side does not.
    QList<TimedByte> lines = sentAt(Direction::J1, "A\r", 0);
    lines += sentAt(Direction::J2, "B\r", 4000);
    lines += sentAt(Direction::J2, "C\r", 9000);
    lines += sentAt(Direction::J1, "D\r", 15000);
    const TimedStream lineStream = timedStream(lines);
    const QList<ResponsePoint> turns =
        responsePointsOf(buildFrames(lineStream.bytes, lineStream.times, *makeDecoder(QStringLiteral("lines"))));
    ASSERT_EQ(turns.size(), 2);
    EXPECT_EQ(turns.at(0).responseMicros, 4000);
    EXPECT_EQ(turns.at(1).responseMicros, 6000);
    EXPECT_EQ(turns.at(1).direction, Direction::J1);
}

namespace {

ResponseChart someChart()
{
    return layoutResponseChart(answersOf(Direction::J1, {3, 9, 4}) + answersOf(Direction::J2, {12, 1}));
}

} // namespace

// Every item kind and field reaches the painter as laid out: the texts
// (Japanese among them), fractional places and the dots' frames.
TEST(ResponseChart, CrossesToThePainterWhole)
{
    const ResponseChart chart = someChart();
    const std::optional<ResponseChart> copy = chartFromBytes(chartToBytes(chart));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->width, chart.width);
    EXPECT_EQ(copy->height, chart.height);
    ASSERT_EQ(copy->items.size(), chart.items.size());
    for (qsizetype i = 0; i < chart.items.size(); ++i) {
        const ChartItem &a = chart.items.at(i);
        const ChartItem &b = copy->items.at(i);
        EXPECT_TRUE(a.kind == b.kind && a.area == b.area && a.rgb == b.rgb && a.text == b.text && a.frame == b.frame)
            << "item " << i;
    }
}

TEST(ResponseChart, ThePainterTakesNothingButOneWholeChart)
{
    const QByteArray whole = chartToBytes(someChart());
    for (qsizetype length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(chartFromBytes(whole.first(length))) << "cut at " << length;
    EXPECT_FALSE(chartFromBytes(whole + '\0')) << "a byte after it";
    EXPECT_FALSE(chartFromBytes("\x89PNG\r\n\x1a\n" + whole.sliced(8))) << "another tag";

    // The first item's kind follows the tag, the two sides and the count.
    QByteArray unknownKind = whole;
    unknownKind[whole.indexOf('\n') + 1 + 8 + 8 + 4] = 9;
    EXPECT_FALSE(chartFromBytes(unknownKind));

    ResponseChart huge = someChart();
    huge.width = 1e9;
    EXPECT_FALSE(chartFromBytes(chartToBytes(huge))) << "no painter allocates such an image";
    ResponseChart empty;
    empty.height = 0;
    EXPECT_FALSE(chartFromBytes(chartToBytes(empty)));
}
