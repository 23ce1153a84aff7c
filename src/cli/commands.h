#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace ferrox::cli {

// Exit status of ferrox-cli.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitIoFailure = 1,   // a file could not be read or written
    ExitUsage = 2,       // bad arguments
    ExitLinkFailure = 3, // port, silent or wrong board, unsupported firmware
    ExitRejected = 4,    // the data is empty (nothing written) or faulty (files still written)
};

// Returned by a command that has started work on the event loop; it ends
// the program later with endEventLoop(status) (clioutput.h).
constexpr int RunEventLoop = -1;

// A subcommand: gets the arguments after its name and returns an exit
// status, or RunEventLoop.
struct Command
{
    const char *name;
    const char *summary; // one line for the program's usage text
    int (*run)(const QStringList &arguments);
};

// Every subcommand, each defined in its own <name>command.cpp.
int renderCommand(const QStringList &arguments);
int examineCommand(const QStringList &arguments);
int checkCommand(const QStringList &arguments);
int captureCommand(const QStringList &arguments);
int portsCommand(const QStringList &arguments);
int measureCommand(const QStringList &arguments);
int timelineCommand(const QStringList &arguments);
int exportCommand(const QStringList &arguments);
int signalsCommand(const QStringList &arguments);
int monitorCommand(const QStringList &arguments);
int extcapCommand(const QStringList &arguments);
int decodeCommand(const QStringList &arguments);

std::span<const Command> commands();

// Runs the subcommand named by arguments[1] (arguments[0] is the program).
int dispatch(const QStringList &arguments);

} // namespace ferrox::cli
