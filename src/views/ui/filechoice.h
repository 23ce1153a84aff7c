#pragma once

#include "platform/dialogs.h"

#include <QStringList>

#include <optional>

namespace ferrox {

class ProgramSettings;
class StatusPanel;

// The file dialogs as every open and save command of the log windows runs
// them: they start in the folder last used ("OPEN_DIR"), and a save asks
// before it replaces a file.
class FileChoice
{
public:
    FileChoice(Dialogs &dialogs, ProgramSettings &settings, StatusPanel &status);

    // The chosen path (native separators), or none when cancelled.
    std::optional<QString> open(FileDialogRequest request);

    // None when cancelled, when no name was given ("ファイル名が指定されて
    // いません。" in the status line) or when mayWrite() refuses the name.
    std::optional<QString> save(FileDialogRequest request, const QString &overwriteQuestion,
                                const QString &declinedStatus = QString(), const QStringList &kept = {});

    // The two halves of save(), for a command that settles the name in
    // between: the name chosen in the dialog, and whether the command may
    // write there. It may not write over one of `kept` (the data file
    // being shown and its arrival times, by any spelling; told in a
    // message box), nor replace an existing file unless the user agrees
    // (declinedStatus, when given, in the status line when not).
    std::optional<QString> chooseSaveName(FileDialogRequest request);
    bool mayWrite(const QString &path, const QString &overwriteQuestion, const QString &declinedStatus = QString(),
                  const QStringList &kept = {});

    // The next dialog starts in the folder of path.
    void rememberFolder(const QString &path);

private:
    Dialogs &m_dialogs;
    ProgramSettings &m_settings;
    StatusPanel &m_status;
};

} // namespace ferrox
