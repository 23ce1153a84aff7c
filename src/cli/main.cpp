// ferrox-cli: the program's engine without windows, for scripts and test
// rigs. Each subcommand lives in its own file; see commands.h.
#include "clioutput.h"
#include "commands.h"
#include "filenames.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstring>
#include <memory>

#include <strings.h>

namespace {

// A PNG chart is painted with fonts, which takes the GUI library; nothing
// is shown, so no display is needed. The chart option takes ".PNG" as well.
bool paintsAnImage(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        const std::size_t length = std::strlen(argument);
        if (length > 4 && strcasecmp(argument + length - 4, ".png") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // A reader that goes away (| head) must not end a capture half-way:
    // writes to it fail instead, and the work goes on.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<QCoreApplication> app;
    if (paintsAnImage(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("ferrox-cli"));
    // Not QCoreApplication::arguments(): file names keep every byte.
    const int status = ferrox::cli::dispatch(ferrox::cli::decodeArguments(argc, argv));
    if (status != ferrox::cli::RunEventLoop)
        return ferrox::cli::finishOutput(status);
    return app->exec();
}
