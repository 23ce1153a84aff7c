#include "filechoice.h"

#include "files/samefile.h"
#include "platform/statusreport.h"
#include "platform/settingsstore.h"
#include "views/texts.h"
#include "views/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace ferrox {

namespace {

const QString openDirKey = QStringLiteral("OPEN_DIR");

} // namespace

FileChoice::FileChoice(Dialogs &dialogs, ProgramSettings &settings, StatusPanel &status)
    : m_dialogs(dialogs), m_settings(settings), m_status(status)
{
}

std::optional<QString> FileChoice::open(FileDialogRequest request)
{
    request.initialFolder = m_settings.text(openDirKey, QString());
    const std::optional<QString> chosen = m_dialogs.openFile(request);
    if (!chosen)
        return std::nullopt;
    return QDir::toNativeSeparators(*chosen);
}

std::optional<QString> FileChoice::save(FileDialogRequest request, const QString &overwriteQuestion,
                                        const QString &declinedStatus, const QStringList &kept)
{
    const std::optional<QString> path = chooseSaveName(std::move(request));
    if (!path || !mayWrite(*path, overwriteQuestion, declinedStatus, kept))
        return std::nullopt;
    return path;
}

std::optional<QString> FileChoice::chooseSaveName(FileDialogRequest request)
{
    request.initialFolder = m_settings.text(openDirKey, QString());
    const std::optional<QString> chosen = m_dialogs.saveFile(request);
    if (!chosen)
        return std::nullopt;
    if (chosen->isEmpty()) {
        ReportStatus(m_status, 1, viewtexts::noFileName(), 0);
        return std::nullopt;
    }
    return QDir::toNativeSeparators(*chosen);
}

bool FileChoice::mayWrite(const QString &path, const QString &overwriteQuestion, const QString &declinedStatus,
                          const QStringList &kept)
{
    for (const QString &file : kept) {
        if (sameFile(path, file)) {
            m_dialogs.inform(viewtexts::shownDataKept(path), MessageIcon::Exclamation);
            return false;
        }
    }
    if (QFileInfo::exists(path)
        && m_dialogs.message(overwriteQuestion, MessageIcon::Exclamation, MessageButtons::OkCancel,
                             viewtexts::overwriteTitle())
               != MessageAnswer::Ok) {
        if (!declinedStatus.isEmpty())
            ReportStatus(m_status, 1, declinedStatus, 0);
        return false;
    }
    return true;
}

void FileChoice::rememberFolder(const QString &path)
{
    m_settings.save(openDirKey, dialogFolder(path));
}

} // namespace ferrox
