#pragma once

// A status line that records what it shows, settings held in memory, and
// a PDF's text, for the window tests.

#include "platform/statusreport.h"
#include "platform/settingsstore.h"
#include "support/testfiles.h"

#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

namespace ferrox::test {

// Every text shown, with the milliseconds since the panel was made.
struct RecordingStatus : StatusPanel
{
    RecordingStatus() { clock.start(); }
    QStringList texts;
    QList<qint64> times;
    QList<int> values;
    bool progressVisible = false;
    QElapsedTimer clock;
    void setPanelText(const QString &text) override
    {
        texts.append(text);
        times.append(clock.elapsed());
    }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void setProgressValue(int value) override { values.append(value); }
};

// Settings held in memory, keyed "application/section/key".
struct MemorySettingsStore : SettingsStore
{
    QHash<QString, QString> values;
    QString GetSetting(const QString &application, const QString &section, const QString &key,
                       const QString &defaultValue) const override
    {
        return values.value(application + u'/' + section + u'/' + key, defaultValue);
    }
    void SaveSetting(const QString &application, const QString &section, const QString &key,
                     const QString &value) override
    {
        values.insert(application + u'/' + section + u'/' + key, value);
    }
    // A key of the program's own section, or "<unset>".
    QString program(const QString &key) const
    {
        return values.value(QStringLiteral("ferrox/Settings2/") + key, QStringLiteral("<unset>"));
    }
};

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
