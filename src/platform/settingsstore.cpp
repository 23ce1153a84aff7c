#include "settingsstore.h"

#include <cmath>

namespace ferrox {

namespace {
const QString kApplication = QStringLiteral("ferrox");
const QString kSection = QStringLiteral("Settings2");
} // namespace

SettingsStore::~SettingsStore() = default;

QString ProgramSettings::text(const QString &key, const QString &defaultValue) const
{
    return m_store.GetSetting(kApplication, kSection, key, defaultValue);
}

void ProgramSettings::save(const QString &key, const QString &value)
{
    m_store.SaveSetting(kApplication, kSection, key, value);
}

float ProgramSettings::number(const QString &key, float defaultValue) const
{
    bool ok = false;
    const float value = text(key, QString()).trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

void ProgramSettings::saveNumber(const QString &key, float value)
{
    save(key, QString::number(value));
}

TwipsGeometry ProgramSettings::geometry(const GeometryKeys &keys, const TwipsGeometry &defaults) const
{
    return {number(keys[0], defaults.left), number(keys[1], defaults.top), number(keys[2], defaults.width),
            number(keys[3], defaults.height)};
}

void ProgramSettings::saveGeometry(const GeometryKeys &keys, const TwipsGeometry &geometry)
{
    const float values[] = {geometry.left, geometry.top, geometry.width, geometry.height};
    for (size_t i = 0; i < keys.size(); ++i)
        saveNumber(keys[i], values[i]);
}

qint16 ProgramSettings::integer(const QString &key, qint16 defaultValue) const
{
    bool ok = false;
    const short value = text(key, QString()).trimmed().toShort(&ok);
    return ok ? value : defaultValue;
}

} // namespace ferrox
