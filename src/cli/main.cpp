// ferrox-cli: the program's engine without windows, for scripts and test
// rigs. Each subcommand lives in its own file; see commands.h.
#include "cliprogram.h"

int main(int argc, char **argv)
{
    return ferrox::cli::runCliProgram(argc, argv);
}
