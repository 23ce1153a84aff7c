#pragma once

// Small stand-ins shared by the log-window tests.

#include "platform/statusreport.h"
#include "platform/settingsstore.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

namespace ferrox::test {

struct RecordingStatus : StatusPanel
{
    QStringList texts;
    QList<int> values;
    bool progressVisible = false;
    void setPanelText(const QString &text) override { texts.append(text); }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void setProgressValue(int value) override { values.append(value); }
};

struct MemorySettings : SettingsStore
{
    QMap<QString, QString> values;
    QString GetSetting(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue) const override
    {
        return values.value(application + QLatin1Char('/') + section + QLatin1Char('/') + key, defaultValue);
    }
    void SaveSetting(const QString &application, const QString &section, const QString &key,
                     const QString &value) override
    {
        values[application + QLatin1Char('/') + section + QLatin1Char('/') + key] = value;
    }
    QString openDir() const { return GetSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("OPEN_DIR"), QString()); }
};

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of a PDF file, or nothing when pdftotext is not installed.
inline std::optional<QString> pdfText(const QString &pdf)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace ferrox::test
