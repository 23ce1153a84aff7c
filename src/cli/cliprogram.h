#pragma once

#include <QString>

namespace ferrox::cli {

// The program: the application object, then the command arguments name.
// Returns the exit status.
int runCliProgram(int argc, char **argv);

// The path of `name`, a program private to ferrox-cli (its link program,
// its chart painter): in the libexec folder, at the same place relative
// to ferrox-cli in the build tree as in the installed one.
QString privateProgramPath(const QString &name);

} // namespace ferrox::cli
