// ferrox-cli: the program's engine without windows, for scripts and test
// rigs. Each subcommand lives in its own file; see commands.h.
#include "commands.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ferrox-cli"));
    const int status = ferrox::cli::dispatch(QCoreApplication::arguments());
    if (status != ferrox::cli::RunEventLoop)
        return status;
    return app.exec();
}
