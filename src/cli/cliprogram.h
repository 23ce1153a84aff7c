#pragma once

namespace ferrox::cli {

// The program: the application object, then the command arguments name.
// Returns the exit status.
int runCliProgram(int argc, char **argv);

} // namespace ferrox::cli
