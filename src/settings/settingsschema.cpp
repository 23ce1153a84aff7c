#include "settingsschema.h"

#include "texts.h"

namespace ferrox {

namespace settingkey {

const SettingKey &port()
{
    static const SettingKey key{QStringLiteral("COM_Port"), QStringLiteral("COM1")};
    return key;
}

const SettingKey &linkSpeed()
{
    static const SettingKey key{QStringLiteral("COM_speed"), speedText(57600)};
    return key;
}

const SettingKey &monitorSpeed()
{
    static const SettingKey key{QStringLiteral("Monitor_speed"), speedText(9600)};
    return key;
}

const SettingKey &direction()
{
    static const SettingKey key{QStringLiteral("Direction"), directionText(MonitorDirection::Both)};
    return key;
}

const SettingKey &displayMode()
{
    static const SettingKey key{QStringLiteral("Display_mode"), settingstext::firstRunDisplayMode()};
    return key;
}

const SettingKey &rts()
{
    static const SettingKey key{QStringLiteral("RTS"), checkText(false)};
    return key;
}

const SettingKey &dtr()
{
    static const SettingKey key{QStringLiteral("DTR"), checkText(false)};
    return key;
}

} // namespace settingkey

namespace {

// The settings as textOf(key) gives each key's text.
template<typename TextOf>
MonitorSettings settingsOf(TextOf textOf)
{
    MonitorSettings settings;
    settings.port = textOf(settingkey::port());
    settings.linkSpeed = linkSpeedOf(textOf(settingkey::linkSpeed()));
    settings.monitoredSpeed = monitorSpeedOf(textOf(settingkey::monitorSpeed()));
    settings.direction = directionOf(textOf(settingkey::direction()));
    settings.displayMode = displayModeNumberOf(textOf(settingkey::displayMode()));
    settings.rts = checkedOf(textOf(settingkey::rts()));
    settings.dtr = checkedOf(textOf(settingkey::dtr()));
    return settings;
}

} // namespace

MonitorSettings firstRunSettings()
{
    return settingsOf([](const SettingKey &key) { return key.defaultText; });
}

MonitorSettings storedSettings(const ProgramSettings &settings)
{
    return settingsOf([&settings](const SettingKey &key) { return storedText(settings, key); });
}

QString storedText(const ProgramSettings &settings, const SettingKey &key)
{
    return settings.text(key.name, key.defaultText);
}

void storeText(ProgramSettings &settings, const SettingKey &key, const QString &text)
{
    settings.save(key.name, text);
}

const QList<int> &linkSpeedChoices()
{
    static const QList<int> speeds{57600, 115200};
    return speeds;
}

const QList<int> &monitorSpeedChoices()
{
    static const QList<int> speeds{600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600};
    return speeds;
}

const QList<MonitorDirection> &directionChoices()
{
    static const QList<MonitorDirection> directions{MonitorDirection::Both, MonitorDirection::J1ToJ2,
                                                    MonitorDirection::J2ToJ1};
    return directions;
}

QString speedText(int bitsPerSecond)
{
    return QString::number(bitsPerSecond).rightJustified(6, u' ');
}

namespace {

template<typename Value, typename Format>
std::optional<Value> itemOf(const QString &text, const QList<Value> &items, Format format)
{
    for (const Value &item : items) {
        if (format(item) == text)
            return item;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> linkSpeedOf(const QString &text)
{
    return itemOf(text, linkSpeedChoices(), speedText);
}

std::optional<int> monitorSpeedOf(const QString &text)
{
    return itemOf(text, monitorSpeedChoices(), speedText);
}

QString directionText(MonitorDirection direction)
{
    switch (direction) {
    case MonitorDirection::Both:
        return settingstext::directionBoth();
    case MonitorDirection::J1ToJ2:
        return settingstext::directionJ1ToJ2();
    case MonitorDirection::J2ToJ1:
        return settingstext::directionJ2ToJ1();
    }
    return {};
}

std::optional<MonitorDirection> directionOf(const QString &text)
{
    return itemOf(text, directionChoices(), directionText);
}

QString displayModeText(qint32 mode)
{
    switch (mode) {
    case 1:
        return settingstext::displayMode1();
    case 2:
        return settingstext::displayMode2();
    case 3:
        return settingstext::displayMode3();
    case 4:
        return settingstext::displayMode4();
    case 5:
        return settingstext::displayMode5();
    }
    return {};
}

qint32 displayModeNumberOf(const QString &text)
{
    if (text.size() < 4)
        return 0;
    const int digit = text.at(3).digitValue();
    return digit < 0 ? 0 : digit;
}

QString checkText(bool checked)
{
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

bool checkedOf(const QString &text)
{
    bool ok = false;
    return text.trimmed().toShort(&ok) == 1 && ok;
}

} // namespace ferrox
