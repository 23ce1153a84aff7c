#pragma once

#include <QList>
#include <QRect>

namespace ferrox {

// Geometry of the Window menu's arrangements, in pixels of the MDI area.

// count windows one above the other, each the area's full width; the
// last takes what the division leaves.
QList<QRect> tileOneAboveTheOther(const QRect &area, int count);

// count windows side by side, each the area's full height.
QList<QRect> tileSideBySide(const QRect &area, int count);

// Places for count minimized windows of iconSize: along the bottom of the
// area from the left, a new row above when a row is full.
QList<QPoint> iconPlaces(const QRect &area, const QSize &iconSize, int count);

// A window moved, and cut where it is larger, so that it lies wholly in
// the area (a new window the area's own placement put partly outside).
QRect keptInside(const QRect &window, const QRect &area);

} // namespace ferrox
