// What ferrox-cli and ferrox-cli-link run from main.
#include "clioutput.h"
#include "cliprogram.h"
#include "commands.h"
#include "filenames.h"

#include <QCoreApplication>
#include <QDir>

#include <csignal>

namespace ferrox::cli {

int runCliProgram(int argc, char **argv)
{
    // A reader that goes away (| head) must not end a capture half-way:
    // writes to it fail instead, and the work goes on.
    std::signal(SIGPIPE, SIG_IGN);
    // No GUI library: a PNG chart is painted by a program of its own
    // (chartpainterprocess.h).
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ferrox-cli"));
    // Not QCoreApplication::arguments(): file names keep every byte.
    const int status = dispatch(decodeArguments(argc, argv));
    if (status != RunEventLoop)
        return finishOutput(status);
    return app.exec();
}

QString privateProgramPath(const QString &name)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" FERROX_LIBEXEC_FROM_CLI "/") + name);
}

} // namespace ferrox::cli
