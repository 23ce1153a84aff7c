#pragma once

#include "settingsstore.h"

#include <memory>

class QSettings;

namespace ferrox {

// SettingsStore on an INI file: per user (organisation "ferrox") by
// default, or a given file (tests, portable installs).
class QtSettingsStore : public SettingsStore
{
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString &iniFile);
    ~QtSettingsStore() override;

    QString GetSetting(const QString &application, const QString &section,
                       const QString &key, const QString &defaultValue) const override;
    void SaveSetting(const QString &application, const QString &section,
                     const QString &key, const QString &value) override;

private:
    QSettings &settingsFor(const QString &application) const;

    QString m_iniFile;
    mutable QString m_openApplication;
    mutable std::unique_ptr<QSettings> m_settings;
};

} // namespace ferrox
