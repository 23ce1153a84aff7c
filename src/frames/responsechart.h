#pragma once

#include "framer.h"

#include "timeline/timeline.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace ferrox {

// One exchange's response time at its time in the capture (microseconds);
// `direction` is the side that answered, `frame` the answer's index (frame
// or timeline run) so that a click on the point can go to it.
struct ResponsePoint
{
    qint64 atMicros = 0;
    qint64 responseMicros = 0;
    Direction direction = Direction::None;
    qint32 frame = -1;
};

// The log views' direction colours, 0xRRGGBB: a blue for J1, an orange-red for J2.
constexpr quint32 directionRgb(Direction direction)
{
    return direction == Direction::J1 ? 0x00609A : 0xA04000;
}

// The answers of a timeline: each run after a change of direction.
QList<ResponsePoint> responsePointsOf(const Timeline &timeline);
// The answers of decoded frames: responses paired with their requests,
// or, where the decoder pairs nothing, each frame after a change of
// direction with the gap before it.
QList<ResponsePoint> responsePointsOf(const FrameList &frames);

// The response times of one side.
struct ResponseSpread
{
    qint32 count = 0;
    qint64 minimumMicros = 0;
    qint64 medianMicros = 0;
    qint64 p95Micros = 0; // nearest rank: the smallest time at or above 95 % of them
    qint64 maximumMicros = 0;
};
ResponseSpread spreadOf(const QList<ResponsePoint> &points, Direction direction);

// The chart as drawing items in its own coordinates (a width × height
// canvas, y downwards), for the SVG writer, the painter and the window:
// the response times against the time in the capture on top, below them a
// histogram per side with min, median, 95th percentile and max.
struct ChartItem
{
    enum class Kind { Line, Rect, Dot, Text };
    Kind kind = Kind::Line;
    QRectF area;          // Line: from topLeft to bottomRight; Dot: centre and radius in width
    quint32 rgb = 0;      // 0xRRGGBB
    QString text;         // Text: drawn with its baseline at area's bottom left
    qint32 frame = -1;    // Dot: the frame it stands for
};

struct ResponseChart
{
    double width = 800;
    double height = 560;
    QList<ChartItem> items;
    // The dot nearest to `at` within `radius`, as its frame index; -1 if none.
    qint32 frameAt(QPointF at, double radius = 6) const;
};

ResponseChart layoutResponseChart(const QList<ResponsePoint> &points);

// The chart as an SVG document (UTF-8).
QByteArray chartSvg(const ResponseChart &chart);

// The files a chart is saved as, told by the name's ending in either case:
// SVG is written as text here; PNG is painted (frames/ui/chartpainter.h).
enum class ChartFormat { None, Svg, Png };
ChartFormat chartFormatOf(const QString &path);
inline bool isChartFileName(const QString &path) { return chartFormatOf(path) != ChartFormat::None; }

} // namespace ferrox
