#include "qtsettingsstore.h"

#include <QSettings>

namespace ferrox {

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString &iniFile) : m_iniFile(iniFile) {}

QtSettingsStore::~QtSettingsStore() = default;

QSettings &QtSettingsStore::settingsFor(const QString &application) const
{
    if (!m_settings || m_openApplication != application) {
        m_openApplication = application;
        if (m_iniFile.isEmpty())
            m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                     QStringLiteral("ferrox"), application);
        else
            m_settings = std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
    }
    return *m_settings;
}

QString QtSettingsStore::GetSetting(const QString &application, const QString &section,
                                    const QString &key, const QString &defaultValue) const
{
    QSettings &settings = settingsFor(application);
    settings.sync(); // another instance or a hand edit may have changed the file
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    // An unquoted hand-written value with commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void QtSettingsStore::SaveSetting(const QString &application, const QString &section,
                                  const QString &key, const QString &value)
{
    QSettings &settings = settingsFor(application);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
    if (settings.status() == QSettings::AccessError && !m_writeFailureTold && m_tellWriteFailure) {
        m_writeFailureTold = true;
        m_tellWriteFailure(settings.fileName());
    }
}

} // namespace ferrox
