#include "mainsettings.h"

#include <algorithm>

namespace ferrox {

namespace {
const GeometryKeys mainGeometryKeys = {QStringLiteral("MainLeft"), QStringLiteral("MainTop"),
                                       QStringLiteral("MainWidth"), QStringLiteral("MainHeight")};
} // namespace

TwipsGeometry loadMainGeometry(const ProgramSettings &settings)
{
    return settings.geometry(mainGeometryKeys, {});
}

bool mainGeometryStored(const ProgramSettings &settings)
{
    return std::any_of(mainGeometryKeys.begin(), mainGeometryKeys.end(),
                       [&](const QString &key) { return !settings.text(key, QString()).isEmpty(); });
}

void saveMainGeometry(ProgramSettings &settings, const TwipsGeometry &geometry)
{
    settings.saveGeometry(mainGeometryKeys, geometry);
}

} // namespace ferrox
