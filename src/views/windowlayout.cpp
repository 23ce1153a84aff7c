#include "windowlayout.h"

#include <algorithm>

namespace ferrox {

namespace {

// Splits length into count parts that add up to it exactly.
QList<int> split(int length, int count)
{
    QList<int> edges;
    for (int i = 0; i <= count; ++i)
        edges.append(int(qint64(length) * i / count));
    return edges;
}

} // namespace

QList<QRect> tileOneAboveTheOther(const QRect &area, int count)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    const QList<int> edges = split(area.height(), count);
    for (int i = 0; i < count; ++i)
        rects.append(QRect(area.left(), area.top() + edges[i], area.width(), edges[i + 1] - edges[i]));
    return rects;
}

QList<QRect> tileSideBySide(const QRect &area, int count)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    const QList<int> edges = split(area.width(), count);
    for (int i = 0; i < count; ++i)
        rects.append(QRect(area.left() + edges[i], area.top(), edges[i + 1] - edges[i], area.height()));
    return rects;
}

QList<QPoint> iconPlaces(const QRect &area, const QSize &iconSize, int count)
{
    QList<QPoint> places;
    if (count <= 0 || iconSize.width() <= 0 || iconSize.height() <= 0)
        return places;
    const int perRow = std::max(1, area.width() / iconSize.width());
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        places.append(QPoint(area.left() + column * iconSize.width(),
                             area.top() + area.height() - (row + 1) * iconSize.height()));
    }
    return places;
}

QRect keptInside(const QRect &window, const QRect &area)
{
    const QSize size = window.size().boundedTo(area.size());
    const int left = std::clamp(window.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(window.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace ferrox
