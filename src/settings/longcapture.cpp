#include "longcapture.h"

#include "settingsschema.h"

#include <QDir>

namespace ferrox {

namespace {

const QString application = QStringLiteral("ferrox");
const QString section = QStringLiteral("LongCapture");
const QString onKey = QStringLiteral("On");
const QString fileBytesKey = QStringLiteral("FileBytes");
const QString filesKey = QStringLiteral("Files");
const QString folderKey = QStringLiteral("Folder");
const QString reconnectKey = QStringLiteral("Reconnect");

// A whole number in [low, high], or the default.
qint64 numberOf(const QString &text, qint64 low, qint64 high, qint64 byDefault)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high ? value : byDefault;
}

} // namespace

LongCaptureSettings storedLongCapture(const SettingsStore &store)
{
    const auto text = [&store](const QString &key) { return store.GetSetting(application, section, key, QString()); };
    LongCaptureSettings settings;
    settings.on = checkedOf(text(onKey));
    settings.fileBytes = qint32(numberOf(text(fileBytesKey), 2, LongCaptureSettings::LargestFile, settings.fileBytes));
    settings.keepFiles = int(numberOf(text(filesKey), 0, 1'000'000, settings.keepFiles));
    settings.folder = text(folderKey);
    settings.reconnect = checkedOf(text(reconnectKey));
    return settings;
}

void storeLongCapture(SettingsStore &store, const LongCaptureSettings &settings)
{
    const auto save = [&store](const QString &key, const QString &value) {
        store.SaveSetting(application, section, key, value);
    };
    save(onKey, checkText(settings.on));
    save(fileBytesKey, QString::number(settings.fileBytes));
    save(filesKey, QString::number(settings.keepFiles));
    save(folderKey, settings.folder);
    save(reconnectKey, checkText(settings.reconnect));
}

QString longCaptureSeries(const LongCaptureSettings &settings, const QString &appFolder, const QDateTime &start)
{
    const QString folder = settings.folder.trimmed().isEmpty() ? appFolder : settings.folder.trimmed() + u'/';
    return QDir::cleanPath(folder + QStringLiteral("long-") + start.toString(QStringLiteral("yyyyMMdd-HHmmss"))
                           + QStringLiteral(".dat"));
}

} // namespace ferrox
