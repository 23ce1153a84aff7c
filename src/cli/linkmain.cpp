// ferrox-cli-link: the commands that talk to a board, run by ferrox-cli in
// its own process (linkhandover.cpp). The process keeps the name it was
// started under (ferrox-cli, or the extcap link's name), which ps, pkill
// and the message of a port held by another program show.
#include "cliprogram.h"

#include <QByteArray>

#include <sys/prctl.h>

int main(int argc, char **argv)
{
    if (argc > 0) {
        const QByteArray started(argv[0]);
        ::prctl(PR_SET_NAME, started.mid(started.lastIndexOf('/') + 1).left(15).constData());
    }
    return ferrox::cli::runCliProgram(argc, argv);
}
