// ferrox-cli: the program's engine without windows, for scripts and test
// rigs. Each subcommand lives in its own file; see commands.h.
#include "clioutput.h"
#include "commands.h"
#include "filenames.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char **argv)
{
    // A reader that goes away (| head) must not end a capture half-way:
    // writes to it fail instead, and the work goes on.
    std::signal(SIGPIPE, SIG_IGN);
    // No GUI library: a PNG chart is painted by a program of its own
    // (chartpainterprocess.h).
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ferrox-cli"));
    // Not QCoreApplication::arguments(): file names keep every byte.
    const int status = ferrox::cli::dispatch(ferrox::cli::decodeArguments(argc, argv));
    if (status != ferrox::cli::RunEventLoop)
        return ferrox::cli::finishOutput(status);
    return app.exec();
}
