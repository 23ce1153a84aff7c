#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace ferrox {

// Colours are written 0xBBGGRR (0x0000FF is red), as the program's
// colour values are; this is the one place that turns them into QColor.
QColor colorFromBgr(quint32 bgr);

// The system colours the program names.
QColor windowBackgroundColor();  // text views' normal background
QColor buttonFaceColor();

// Positions and sizes are kept in twips (1/1440 inch); these convert
// with the logical DPI of the widget's screen (of the primary screen
// when widget is null).
int twipsToPixelsX(double twips, const QWidget *widget = nullptr);
int twipsToPixelsY(double twips, const QWidget *widget = nullptr);
double pixelsToTwipsX(int pixels, const QWidget *widget = nullptr);
double pixelsToTwipsY(int pixels, const QWidget *widget = nullptr);

// "ＭＳ ゴシック" and its stand-ins, fixed pitch: half-width characters
// take one column, full-width two.
QFont gothicFont(int pointSize = 9);

} // namespace ferrox
