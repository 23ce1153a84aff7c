#include "responsechart.h"

#include "texts.h"

#include "timeline/texts.h"

#include <algorithm>
#include <cmath>

namespace ferrox {

namespace {

constexpr quint32 j1Rgb = directionRgb(Direction::J1);
constexpr quint32 j2Rgb = directionRgb(Direction::J2);
constexpr quint32 axisRgb = 0x404040;
constexpr quint32 gridRgb = 0xD0D0D0;
constexpr int histogramBins = 20;

constexpr double left = 70, right = 780;
constexpr double plotTop = 50, plotBottom = 300;
constexpr double histogramTop = 360, histogramBottom = 490;

QString directionName(Direction direction)
{
    return direction == Direction::J1 ? TimelineTexts::directionJ1() : TimelineTexts::directionJ2();
}

class ChartBuilder
{
public:
    explicit ChartBuilder(ResponseChart &chart) : m_chart(chart) {}

    void line(double x1, double y1, double x2, double y2, quint32 rgb)
    {
        m_chart.items.append({ChartItem::Kind::Line, QRectF(QPointF(x1, y1), QPointF(x2, y2)), rgb, {}, -1});
    }
    void rect(const QRectF &area, quint32 rgb) { m_chart.items.append({ChartItem::Kind::Rect, area, rgb, {}, -1}); }
    void dot(double x, double y, quint32 rgb, qint32 frame)
    {
        m_chart.items.append({ChartItem::Kind::Dot, QRectF(x, y, 3, 0), rgb, {}, frame});
    }
    void text(double x, double y, const QString &text, quint32 rgb = axisRgb)
    {
        m_chart.items.append({ChartItem::Kind::Text, QRectF(x, y, 0, 0), rgb, text, -1});
    }

private:
    ResponseChart &m_chart;
};

void drawHistogram(ChartBuilder &draw, const QList<ResponsePoint> &points, Direction direction, double x0, double x1,
                   qint64 maxMicros)
{
    const ResponseSpread spread = spreadOf(points, direction);
    draw.text(x0, histogramTop - 8, directionName(direction) + QStringLiteral("  ") + FrameTexts::chartCount(spread.count),
              directionRgb(direction));
    draw.line(x0, histogramBottom, x1, histogramBottom, axisRgb);
    draw.line(x0, histogramTop, x0, histogramBottom, axisRgb);
    QList<int> bins(histogramBins, 0);
    for (const ResponsePoint &p : points) {
        if (p.direction == direction)
            ++bins[std::min<qsizetype>(histogramBins - 1, p.responseMicros * histogramBins / std::max<qint64>(1, maxMicros))];
    }
    const int tallest = std::max(1, *std::max_element(bins.begin(), bins.end()));
    const double binWidth = (x1 - x0) / histogramBins;
    for (int i = 0; i < histogramBins; ++i) {
        if (bins.at(i) == 0)
            continue;
        const double h = (histogramBottom - histogramTop) * bins.at(i) / tallest;
        draw.rect(QRectF(x0 + i * binWidth + 1, histogramBottom - h, binWidth - 2, h), directionRgb(direction));
    }
    draw.text(x0, histogramBottom + 16, QStringLiteral("0"));
    draw.text(x1 - 60, histogramBottom + 16, FrameTexts::millis(maxMicros) + QStringLiteral("ms"));
    if (spread.count > 0) {
        draw.text(x0, histogramBottom + 40, FrameTexts::chartSpread(FrameTexts::millis(spread.minimumMicros),
                                                                     FrameTexts::millis(spread.medianMicros),
                                                                     FrameTexts::millis(spread.p95Micros),
                                                                     FrameTexts::millis(spread.maximumMicros)));
    }
}

} // namespace

QList<ResponsePoint> responsePointsOf(const Timeline &timeline)
{
    QList<ResponsePoint> points;
    for (qsizetype i = 0; i < timeline.runs.size(); ++i) {
        const TimelineRun &run = timeline.runs.at(i);
        if (run.arrivalMicros && run.gapMicros)
            points.append({*run.arrivalMicros, *run.gapMicros, run.direction, qint32(i)});
    }
    return points;
}

QList<ResponsePoint> responsePointsOf(const FrameList &list)
{
    QList<ResponsePoint> paired;
    QList<ResponsePoint> turns;
    for (qsizetype i = 0; i < list.frames.size(); ++i) {
        const Frame &frame = list.frames.at(i);
        if (!frame.startMicros)
            continue;
        if (frame.responseMicros)
            paired.append({*frame.startMicros, *frame.responseMicros, frame.direction, qint32(i)});
        if (i > 0 && frame.gapMicros && list.frames.at(i - 1).direction != frame.direction)
            turns.append({*frame.startMicros, *frame.gapMicros, frame.direction, qint32(i)});
    }
    return paired.isEmpty() ? turns : paired;
}

ResponseSpread spreadOf(const QList<ResponsePoint> &points, Direction direction)
{
    QList<qint64> times;
    for (const ResponsePoint &p : points) {
        if (p.direction == direction)
            times.append(p.responseMicros);
    }
    ResponseSpread spread;
    spread.count = qint32(times.size());
    if (times.isEmpty())
        return spread;
    std::sort(times.begin(), times.end());
    const qsizetype n = times.size();
    spread.minimumMicros = times.constFirst();
    spread.maximumMicros = times.constLast();
    spread.medianMicros = n % 2 ? times.at(n / 2) : (times.at(n / 2 - 1) + times.at(n / 2)) / 2;
    spread.p95Micros = times.at(std::max<qsizetype>(0, (95 * n + 99) / 100 - 1));
    return spread;
}

qint32 ResponseChart::frameAt(QPointF at, double radius) const
{
    qint32 nearest = -1;
    double best = radius * radius;
    for (const ChartItem &item : items) {
        if (item.kind != ChartItem::Kind::Dot)
            continue;
        const QPointF d = item.area.topLeft() - at;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = item.frame;
        }
    }
    return nearest;
}

ResponseChart layoutResponseChart(const QList<ResponsePoint> &points)
{
    ResponseChart chart;
    ChartBuilder draw(chart);
    draw.text(left, 24, FrameTexts::chartTitle());
    if (points.isEmpty()) {
        draw.text(left, (plotTop + plotBottom) / 2, FrameTexts::chartNoData());
        return chart;
    }
    draw.text(right - 140, 24, TimelineTexts::directionJ1(), j1Rgb);
    draw.text(right - 70, 24, TimelineTexts::directionJ2(), j2Rgb);

    qint64 endMicros = 1;
    qint64 maxMicros = 1;
    for (const ResponsePoint &p : points) {
        endMicros = std::max(endMicros, p.atMicros);
        maxMicros = std::max(maxMicros, p.responseMicros);
    }
    for (int tick = 0; tick <= 4; ++tick) {
        const double y = plotBottom - (plotBottom - plotTop) * tick / 4;
        draw.line(left, y, right, y, tick == 0 ? axisRgb : gridRgb);
        draw.text(4, y + 4, FrameTexts::millis(maxMicros * tick / 4));
    }
    draw.line(left, plotTop, left, plotBottom, axisRgb);
    draw.text(left, plotBottom + 18, QStringLiteral("0"));
    draw.text(right - 120, plotBottom + 18, FrameTexts::chartTimeAxis(endMicros));
    for (const ResponsePoint &p : points) {
        const double x = left + (right - left) * double(p.atMicros) / double(endMicros);
        const double y = plotBottom - (plotBottom - plotTop) * double(p.responseMicros) / double(maxMicros);
        draw.dot(x, y, directionRgb(p.direction), p.frame);
    }
    drawHistogram(draw, points, Direction::J1, left, (left + right) / 2 - 20, maxMicros);
    drawHistogram(draw, points, Direction::J2, (left + right) / 2 + 20, right, maxMicros);
    return chart;
}

QByteArray chartSvg(const ResponseChart &chart)
{
    const auto colour = [](quint32 rgb) { return QByteArray("#") + QByteArray::number(rgb, 16).rightJustified(6, '0'); };
    const auto n = [](double v) { return QByteArray::number(v, 'f', 1); };
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        + n(chart.width) + "\" height=\"" + n(chart.height) + "\" viewBox=\"0 0 " + n(chart.width) + ' ' + n(chart.height)
        + "\" font-family=\"IPAGothic, monospace\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const ChartItem &item : chart.items) {
        const QRectF &a = item.area;
        switch (item.kind) {
        case ChartItem::Kind::Line:
            svg += "<line x1=\"" + n(a.left()) + "\" y1=\"" + n(a.top()) + "\" x2=\"" + n(a.right()) + "\" y2=\""
                + n(a.bottom()) + "\" stroke=\"" + colour(item.rgb) + "\"/>\n";
            break;
        case ChartItem::Kind::Rect:
            svg += "<rect x=\"" + n(a.left()) + "\" y=\"" + n(a.top()) + "\" width=\"" + n(a.width()) + "\" height=\""
                + n(a.height()) + "\" fill=\"" + colour(item.rgb) + "\"/>\n";
            break;
        case ChartItem::Kind::Dot:
            svg += "<circle cx=\"" + n(a.left()) + "\" cy=\"" + n(a.top()) + "\" r=\"" + n(a.width()) + "\" fill=\""
                + colour(item.rgb) + "\"><title>#" + QByteArray::number(item.frame + 1) + "</title></circle>\n";
            break;
        case ChartItem::Kind::Text: {
            QByteArray escaped = item.text.toUtf8();
            escaped.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
            svg += "<text x=\"" + n(a.left()) + "\" y=\"" + n(a.top()) + "\" fill=\"" + colour(item.rgb) + "\">" + escaped
                + "</text>\n";
            break;
        }
        }
    }
    return svg + "</svg>\n";
}

ChartFormat chartFormatOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return ChartFormat::Svg;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return ChartFormat::Png;
    return ChartFormat::None;
}

} // namespace ferrox
