#include "commands.h"

#include "clioutput.h"

namespace ferrox::cli {

namespace {

// One line per subcommand; a new command adds its line here.
const Command commandTable[] = {
    {"render", "render FILE.dat as the text of a display mode", renderCommand},
    {"examine", "count the tag-sequence errors of FILE.dat", examineCommand},
    {"check", "check that a supported board answers on a device", checkCommand},
    {"capture", "capture from a board into a data file, and render it", captureCommand},
    {"signals", "sample the monitored line's control signals, one readout line per sample", signalsCommand},
};

QString programUsage()
{
    QString text = QStringLiteral("usage: ferrox-cli COMMAND [options]   (ferrox-cli COMMAND --help)\ncommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -9).arg(QLatin1String(command.summary));
    return text;
}

} // namespace

std::span<const Command> commands()
{
    return commandTable;
}

int dispatch(const QStringList &arguments)
{
    if (arguments.size() < 2) {
        printError(programUsage());
        return ExitUsage;
    }
    const QString &name = arguments.at(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printOut(programUsage());
        return ExitSuccess;
    }
    for (const Command &command : commands()) {
        if (name == QLatin1String(command.name))
            return command.run(arguments.mid(2));
    }
    printError(QStringLiteral("ferrox-cli: unknown command \"%1\"\n").arg(name) + programUsage());
    return ExitUsage;
}

} // namespace ferrox::cli
