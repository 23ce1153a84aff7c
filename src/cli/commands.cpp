#include "commands.h"

#include "clioutput.h"

#include "version/programinfo.h"

#include <QFileInfo>

namespace ferrox::cli {

namespace {

// One line per subcommand; a new command adds its line here.
const Command commandTable[] = {
    {"render", "render FILE.dat as the text of a display mode", renderCommand},
    {"examine", "count the tag-sequence errors of FILE.dat", examineCommand},
    {"check", "check that a supported board answers on a device", checkCommand},
    {"capture", "capture from a board into a data file, and render it", captureCommand},
    {"ports", "list the serial devices found on this machine", portsCommand},
    {"measure", "measure the monitored line's speed", measureCommand},
    {"timeline", "direction changes and response times of FILE.dat", timelineCommand},
    {"export", "FILE.dat as pcap, CSV or JSON lines for other tools", exportCommand},
    {"decode", "the messages of FILE.dat, read by a protocol decoder", decodeCommand},
    {"signals", "sample the monitored line's control signals, one readout line per sample", signalsCommand},
    {"monitor", "show the monitored line's bytes as they arrive, without storing them", monitorCommand},
    {"extcap", "answer Wireshark's external-capture calls (see the README)", extcapCommand},
};

QString programUsage()
{
    QString text = QStringLiteral("usage: ferrox-cli COMMAND [options]   (ferrox-cli help COMMAND)\n"
                                  "       ferrox-cli --version | -V\ncommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -9).arg(QLatin1String(command.summary));
    text += QStringLiteral(
        "display modes (--mode):\n"
        "  1  HEX         the bytes in hexadecimal, one line per direction block\n"
        "  2  ASCII       the bytes as text, one block per direction\n"
        "  3  HEX-CHAR    16 bytes a line, in hexadecimal and as characters\n"
        "  4  EXCHANGE    J1 on the left, J2 on the right, eight bytes a line\n"
        "  5  SAVE        one tab-separated row per byte: number, direction, values\n"
        "-o - and --text - write to standard output. Text is code page 932, or UTF-8\n"
        "on a terminal; --encoding cp932|utf8 chooses.\n"
        "exit status:\n"
        "  0  success\n"
        "  1  a file could not be read or written\n"
        "  2  usage error\n"
        "  3  link failure: port, silent or wrong board, unsupported firmware\n"
        "  4  data rejected: empty (no file written), or tag-sequence errors (the data file\n"
        "     is still written)\n");
    return text;
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

} // namespace

std::span<const Command> commands()
{
    return commandTable;
}

int dispatch(const QStringList &arguments)
{
    // Wireshark runs the program through a link of this name in its extcap folder.
    if (!arguments.isEmpty() && QFileInfo(arguments.first()).fileName() == QLatin1String("ferrox-extcap"))
        return extcapCommand(arguments.mid(1));
    if (arguments.size() < 2) {
        printError(programUsage());
        return ExitUsage;
    }
    const QString &name = arguments.at(1);
    if (name == QLatin1String("--version") || name == QLatin1String("-V")) {
        printOut(versionLine(QStringLiteral("ferrox-cli")));
        return ExitSuccess;
    }
    if (name == QLatin1String("help") && arguments.size() > 2 && arguments.at(2) != QLatin1String("help")) {
        if (const Command *command = findCommand(arguments.at(2)))
            return command->run({QStringLiteral("--help")});
        printError(QStringLiteral("ferrox-cli: unknown command \"%1\"\n").arg(arguments.at(2)) + programUsage());
        return ExitUsage;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printOut(programUsage());
        return ExitSuccess;
    }
    if (const Command *command = findCommand(name))
        return command->run(arguments.mid(2));
    printError(QStringLiteral("ferrox-cli: unknown command \"%1\"\n").arg(name) + programUsage());
    return ExitUsage;
}

} // namespace ferrox::cli
