#include "mainsettings.h"

#include "texts.h"

namespace ferrox {

TwipsGeometry loadMainGeometry(const ProgramSettings &settings)
{
    const TwipsGeometry defaults;
    return {settings.number(settingkey::MainLeft, defaults.left),
            settings.number(settingkey::MainTop, defaults.top),
            settings.number(settingkey::MainWidth, defaults.width),
            settings.number(settingkey::MainHeight, defaults.height)};
}

bool mainGeometryStored(const ProgramSettings &settings)
{
    for (const QString &key : {settingkey::MainLeft, settingkey::MainTop, settingkey::MainWidth, settingkey::MainHeight}) {
        if (!settings.text(key, QString()).isEmpty())
            return true;
    }
    return false;
}

void saveMainGeometry(ProgramSettings &settings, const TwipsGeometry &geometry)
{
    settings.saveNumber(settingkey::MainLeft, geometry.left);
    settings.saveNumber(settingkey::MainTop, geometry.top);
    settings.saveNumber(settingkey::MainWidth, geometry.width);
    settings.saveNumber(settingkey::MainHeight, geometry.height);
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
