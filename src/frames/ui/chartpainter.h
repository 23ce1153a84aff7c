#pragma once

#include "frames/responsechart.h"

#include <QImage>
#include <QString>

class QPainter;

namespace ferrox {

// Paints the chart's items with `painter`, in the chart's coordinates.
void paintChart(QPainter &painter, const ResponseChart &chart);

// The chart as an image of its own size on white, for saving as PNG.
// Needs a QGuiApplication (fonts).
QImage chartImage(const ResponseChart &chart);

} // namespace ferrox
