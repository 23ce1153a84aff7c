#include "startup.h"

#include "app/base/texts.h"

#include "platform/dialogs.h"
#include "platform/process.h"

#include <QDir>

namespace ferrox {

bool ensureTempFolder(Dialogs &dialogs, const QString &folder)
{
    if (EnsureFolder(folder))
        return true;
    dialogs.inform(apptext::tempFolderFailureText(QDir::toNativeSeparators(folder)),
                   MessageIcon::Critical, apptext::TempFolderFailureTitle);
    return false;
}

} // namespace ferrox
