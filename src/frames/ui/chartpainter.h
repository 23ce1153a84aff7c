#pragma once

#include "frames/responsechart.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QPainter;

namespace ferrox {

// Paints the chart's items with `painter`, in the chart's coordinates.
void paintChart(QPainter &painter, const ResponseChart &chart);

// The chart as an image of its own size on white, for saving as PNG.
// Needs a QGuiApplication (fonts).
QImage chartImage(const ResponseChart &chart);

// A name ending in ".png" or ".svg" (either case): the files a chart is
// saved as.
bool isChartFileName(const QString &path);
// The chart as the contents of such a file: SVG for ".svg", otherwise PNG.
QByteArray chartFileBytes(const ResponseChart &chart, const QString &path);

} // namespace ferrox
