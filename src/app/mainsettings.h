#pragma once

#include "platform/settingsstore.h"

#include <QString>
#include <QStringList>

namespace ferrox {

// The main window's keys in the settings store ("Settings2" of "ferrox").
namespace settingkey {
inline const QString ComPort = QStringLiteral("COM_Port");
inline const QString PcSpeed = QStringLiteral("COM_speed");
inline const QString MonitorSpeed = QStringLiteral("Monitor_speed");
inline const QString Direction = QStringLiteral("Direction");
inline const QString DisplayMode = QStringLiteral("Display_mode");
inline const QString Rts = QStringLiteral("RTS");
inline const QString Dtr = QStringLiteral("DTR");
inline const QString MainLeft = QStringLiteral("MainLeft");
inline const QString MainTop = QStringLiteral("MainTop");
inline const QString MainWidth = QStringLiteral("MainWidth");
inline const QString MainHeight = QStringLiteral("MainHeight");
} // namespace settingkey

// Stored main-window geometry; a missing or non-numeric value gives its
// default (1000, 1000, 6500, 6500).
TwipsGeometry loadMainGeometry(const ProgramSettings &settings);
// False on a first run: none of the four keys holds a value yet.
bool mainGeometryStored(const ProgramSettings &settings);
void saveMainGeometry(ProgramSettings &settings, const TwipsGeometry &geometry);

// The settings panel's texts and link options as stored, defaults filled
// in. Texts are taken as they are, even when they match no list item.
struct PanelSettings
{
    QString comPort;
    QString pcSpeed;
    QString monitorSpeed;
    QString direction;
    QString displayMode;
    bool rts = false;
    bool dtr = false;
};

PanelSettings loadPanelSettings(const ProgramSettings &settings);

// The monitor speeds offered before any connection check: the oldest
// firmware's list for the link speed text (exactly "115200" is the fast
// link; any other text the slow one).
QStringList monitorSpeedsBeforeCheck(const QString &pcSpeedText);

// A check box value as stored: "1" checked, "0" not.
QString checkValueText(bool checked);

} // namespace ferrox
