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

// The chart as a PNG file's bytes. Needs a QGuiApplication (fonts).
QByteArray chartPng(const ResponseChart &chart);
// The chart as the contents of a file named as isChartFileName() takes:
// SVG for ".svg", otherwise PNG.
QByteArray chartFileBytes(const ResponseChart &chart, const QString &path);

} // namespace ferrox
