#pragma once

#include <QString>

namespace ferrox {

class Dialogs;

// Makes sure the temporary folder exists (creating it level by level when
// needed). When it cannot be had, tells the user with a stop-icon box
// naming the folder and returns false: the program then ends.
bool ensureTempFolder(Dialogs &dialogs, const QString &folder);

} // namespace ferrox
