#include "modifylayout.h"

#include <algorithm>

namespace ferrox {

namespace {

const QString LeftKey = QStringLiteral("MainLeft_m");
const QString TopKey = QStringLiteral("MainTop_m");
const QString WidthKey = QStringLiteral("MainWidth_m");
const QString HeightKey = QStringLiteral("MainHeight_m");

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
    const EditorGeometry defaults;
    return {limited(settings.number(LeftKey, defaults.left)), limited(settings.number(TopKey, defaults.top)),
            limited(settings.number(WidthKey, defaults.width)), limited(settings.number(HeightKey, defaults.height))};
}

void saveEditorGeometry(ProgramSettings &settings, const EditorGeometry &geometry)
{
    settings.saveNumber(LeftKey, geometry.left);
    settings.saveNumber(TopKey, geometry.top);
    settings.saveNumber(WidthKey, geometry.width);
    settings.saveNumber(HeightKey, geometry.height);
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
