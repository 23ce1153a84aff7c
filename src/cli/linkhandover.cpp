// The commands that talk to a board run in ferrox-cli-link, a program of
// their own beside the chart painter: ferrox-cli itself then never loads
// the serial-port library and what it brings (udev), which would cost
// every rendering of a file a quarter of the time a bare Qt program takes
// to start. ferrox-cli becomes that program, with the same arguments,
// process, standard streams and signals, so a script or a service sees no
// difference.
#include "clioutput.h"
#include "cliprogram.h"
#include "commands.h"

#include <QFile>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace ferrox::cli {

namespace {

// The program's own arguments, byte for byte, argv[0] included (it tells
// the extcap link's name).
QByteArray ownArguments()
{
    QFile commandLine(QStringLiteral("/proc/self/cmdline"));
    return commandLine.open(QIODevice::ReadOnly) ? commandLine.readAll() : QByteArray();
}

int runLinkProgram()
{
    const QString program = privateProgramPath(QStringLiteral("ferrox-cli-link"));
    QByteArray arguments = ownArguments();
    std::vector<char *> argv;
    for (qsizetype at = 0; at < arguments.size(); at += qsizetype(std::strlen(arguments.data() + at)) + 1)
        argv.push_back(arguments.data() + at);
    argv.push_back(nullptr);
    if (argv.size() > 1)
        ::execv(QFile::encodeName(program).constData(), argv.data());
    const int error = argv.size() > 1 ? errno : ENOENT;
    printError(QStringLiteral("ferrox-cli: the link program %1 could not be started (%2): the commands that talk "
                              "to a board need it (reinstall ferrox); the commands on files do not\n")
                   .arg(program, QString::fromLocal8Bit(std::strerror(error))));
    return ExitIoFailure;
}

} // namespace

int checkCommand(const QStringList &) { return runLinkProgram(); }
int captureCommand(const QStringList &) { return runLinkProgram(); }
int portsCommand(const QStringList &) { return runLinkProgram(); }
int measureCommand(const QStringList &) { return runLinkProgram(); }
int signalsCommand(const QStringList &) { return runLinkProgram(); }
int monitorCommand(const QStringList &) { return runLinkProgram(); }
int extcapCommand(const QStringList &) { return runLinkProgram(); }

} // namespace ferrox::cli
