#include "mainsettings.h"

#include "texts.h"

#include <algorithm>

namespace ferrox {

namespace {
const GeometryKeys mainGeometryKeys = {settingkey::MainLeft, settingkey::MainTop, settingkey::MainWidth,
                                       settingkey::MainHeight};
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

PanelSettings loadPanelSettings(const ProgramSettings &settings)
{
    PanelSettings panel;
    panel.comPort = settings.text(settingkey::ComPort, QStringLiteral("COM1"));
    panel.pcSpeed = settings.text(settingkey::PcSpeed, apptext::PcSpeeds.constFirst());
    panel.monitorSpeed = settings.text(settingkey::MonitorSpeed, QStringLiteral("  9600"));
    panel.direction = settings.text(settingkey::Direction, apptext::BothDirections);
    panel.displayMode = settings.text(settingkey::DisplayMode, apptext::DefaultDisplayMode);
    // Only "1" means checked; anything else (a hand-edited "2", "yes") is
    // taken as the default, unchecked.
    panel.rts = settings.integer(settingkey::Rts, 0) == 1;
    panel.dtr = settings.integer(settingkey::Dtr, 0) == 1;
    return panel;
}

QStringList monitorSpeedsBeforeCheck(const QString &pcSpeedText)
{
    if (pcSpeedText == apptext::FastPcSpeed)
        return apptext::MonitorSpeedsSlowLink + apptext::MonitorSpeedsFastLinkExtra;
    return apptext::MonitorSpeedsSlowLink;
}

QString checkValueText(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace ferrox
