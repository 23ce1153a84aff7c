#pragma once

#include "platform/settingsstore.h"

#include <QLineF>
#include <QRectF>
#include <QSizeF>

namespace ferrox {

// The editor window's geometry, kept out of the widget. All in twips.

// Where the window opens, as stored in "MainLeft_m", "MainTop_m",
// "MainWidth_m", "MainHeight_m"; 1000, 1000, 6500, 5000 when never stored.
using EditorGeometry = TwipsGeometry;

// Stored values that are no number take the default; values beyond any
// desktop (a damaged store) are brought within about 330 inches.
EditorGeometry loadEditorGeometry(const ProgramSettings &settings);
void saveEditorGeometry(ProgramSettings &settings, const EditorGeometry &geometry);

// The client area below the menu bar: an etched separator of two lines at
// the top, the column header, the text view. windowSize is the window's
// outer size; sizes never go below zero in a window too small for the
// view's margins.
struct ModifyLayout
{
    QLineF upperLine; // "LN1", grey
    QLineF lowerLine; // "LN2", white
    QRectF header;    // "Label1"
    QRectF text;      // "RTModify"
};
ModifyLayout modifyWindowLayout(const QSizeF &windowSize);

} // namespace ferrox
