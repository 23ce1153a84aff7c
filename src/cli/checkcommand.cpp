// ferrox-cli check: the connection check over a device, as the program
// makes it: prints the board's reply and firmware, or why there is none.
#include "clioutput.h"
#include "commands.h"
#include "linkoptions.h"

#include "link/consolecheck.h"
#include "link/linkowner.h"

#include <QCoreApplication>
#include <QTimer>

namespace ferrox::cli {

int checkCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("check"), linkArgument(), 1, linkOptions(), true);
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<MonitorSettings> link = readLinkOptions(args);
    if (!link)
        return ExitUsage;

    LinkOwner *owner = &openLink(link->port).owner();
    const auto report = [owner](const ConsoleCheckResult &result) {
        if (result.verified)
            printOut(result.text + result.firmwareVersion + u'\n');
        else
            printError(result.text);
        owner->shutdown();
        endEventLoop(result.verified ? ExitSuccess : ExitLinkFailure);
    };
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, owner, [owner, link, report] { runConsoleCheck(*owner, checkRequestOf(*link), link->port, report); });
    return RunEventLoop;
}

} // namespace ferrox::cli
