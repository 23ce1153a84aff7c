#pragma once

#include "settingsstore.h"

#include <functional>
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

    // `tell` learns the settings file's name the first time a change cannot
    // be written to it (a read-only folder), once: the program goes on
    // with the values it holds, which the next start will not have.
    void onWriteFailure(std::function<void(const QString &file)> tell) { m_tellWriteFailure = std::move(tell); }

private:
    QSettings &settingsFor(const QString &application) const;

    QString m_iniFile;
    mutable QString m_openApplication;
    mutable std::unique_ptr<QSettings> m_settings;
    std::function<void(const QString &)> m_tellWriteFailure;
    bool m_writeFailureTold = false;
};

} // namespace ferrox
