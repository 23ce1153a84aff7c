#pragma once

#include "monitorsettings.h"

#include "platform/settingsstore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// How MonitorSettings is kept in "Settings2": the keys, the text each
// choice is stored as (the very text the settings panel shows, spaces
// included) and the text a missing key reads as. Every stored text is
// taken as it is: one that names no list item reads as "not valid", and
// is shown as it was stored.

// A key and the text a missing key reads as.
struct SettingKey
{
    QString name;
    QString defaultText;
};

namespace settingkey {
const SettingKey &port();         // "COM_Port": "COM1"
const SettingKey &linkSpeed();    // "COM_speed": " 57600"
const SettingKey &monitorSpeed(); // "Monitor_speed": "  9600"
const SettingKey &direction();    // "Direction": "双方向"
const SettingKey &displayMode();  // "Display_mode": "モード１"
const SettingKey &rts();          // "RTS": "0"
const SettingKey &dtr();          // "DTR": "0"
} // namespace settingkey

// The settings a first run has: each key's default read as its value; the
// choices the store does not keep (data width, live display) as the
// value's own.
MonitorSettings firstRunSettings();
// The settings as stored, each key's text read as its value (a missing
// key as its default); the choices not stored as the value's own.
MonitorSettings storedSettings(const ProgramSettings &settings);

QString storedText(const ProgramSettings &settings, const SettingKey &key);
void storeText(ProgramSettings &settings, const SettingKey &key, const QString &text);

// The lists the choices come from, in the panel's order.
const QList<int> &linkSpeedChoices();    // 57600, 115200
const QList<int> &monitorSpeedChoices(); // 600 to 57600
const QList<MonitorDirection> &directionChoices();
inline constexpr qint32 DisplayModeCount = 5;

// A speed's text: six characters, right-aligned ("  9600", "115200").
QString speedText(int bitsPerSecond);
std::optional<int> linkSpeedOf(const QString &text);
std::optional<int> monitorSpeedOf(const QString &text);

QString directionText(MonitorDirection direction);
std::optional<MonitorDirection> directionOf(const QString &text);

// The item text of display mode 1 to 5.
QString displayModeText(qint32 mode);
// DisplayModeNumber as a display-mode text gives it: the fourth character
// read as a digit, full-width digits included ("モード1 <HEX>" and
// "モード１" give 1). A text without a digit there gives 0, which renders
// nothing.
qint32 displayModeNumberOf(const QString &text);

// A check box as stored: "1" checked, "0" not. Only "1" reads as checked
// (a hand-edited "2" or "yes" is the default, unchecked).
QString checkText(bool checked);
bool checkedOf(const QString &text);

} // namespace ferrox
