#include "modifylayout.h"

#include <algorithm>

namespace ferrox {

namespace {

const GeometryKeys editorGeometryKeys = {QStringLiteral("MainLeft_m"), QStringLiteral("MainTop_m"),
                                         QStringLiteral("MainWidth_m"), QStringLiteral("MainHeight_m")};

constexpr float GeometryLimit = 480000;

float limited(float twips)
{
    return std::clamp(twips, -GeometryLimit, GeometryLimit);
}

constexpr double LineStart = 5;
constexpr double LineEndInset = 100;
constexpr double LowerLineY = 10;
constexpr double TextTop = 240;
constexpr double TextWidthInset = 120;
constexpr double TextHeightInset = 870;
constexpr double HeaderTop = 20;

} // namespace

EditorGeometry loadEditorGeometry(const ProgramSettings &settings)
{
    const EditorGeometry stored = settings.geometry(editorGeometryKeys, {1000, 1000, 6500, 5000});
    return {limited(stored.left), limited(stored.top), limited(stored.width), limited(stored.height)};
}

void saveEditorGeometry(ProgramSettings &settings, const EditorGeometry &geometry)
{
    settings.saveGeometry(editorGeometryKeys, geometry);
}

ModifyLayout modifyWindowLayout(const QSizeF &windowSize)
{
    const double lineEnd = std::max(LineStart, windowSize.width() - LineEndInset);
    const double width = std::max(0.0, windowSize.width() - TextWidthInset);
    return {
        QLineF(LineStart, 0, lineEnd, 0),
        QLineF(LineStart, LowerLineY, lineEnd, LowerLineY),
        QRectF(0, HeaderTop, width, TextTop - HeaderTop),
        QRectF(0, TextTop, width, std::max(0.0, windowSize.height() - TextHeightInset)),
    };
}

} // namespace ferrox
