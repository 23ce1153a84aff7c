#pragma once

#include "platform/dialogs.h"

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
    // いません。" in the status line) or when the user declines to replace
    // an existing file (declinedStatus, when given, in the status line).
    std::optional<QString> save(FileDialogRequest request, const QString &overwriteQuestion,
                                const QString &declinedStatus = QString());

    // The next dialog starts in the folder of path.
    void rememberFolder(const QString &path);

private:
    Dialogs &m_dialogs;
    ProgramSettings &m_settings;
    StatusPanel &m_status;
};

} // namespace ferrox
