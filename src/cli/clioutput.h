#pragma once

#include "data/datafiles.h"

#include <QByteArrayView>
#include <QString>

namespace ferrox::cli {

class CliArguments;

// Bytes to standard output unchanged; false when they could not all be
// written (a closed pipe, a full disk). The failure is remembered for
// finishOutput().
bool writeOut(QByteArrayView bytes);

// True when standard output is a terminal.
bool outputIsTerminal();

// Refuses binary output (a data file, pcap records: `what`) to the output
// named `output` when that is standard output and a terminal, where it
// would show as noise and the monitored line's bytes could pass for the
// terminal's control sequences: the usage error's status, else 0.
int refuseBinaryOnTerminal(CliArguments &args, const QString &output, const QString &what);

// Writes bytes as the output named on the command line: "-" is standard
// output (its failure is told once, and not at all for a closed pipe: the
// message may be empty), a character device or named pipe (/dev/null, /dev/stdout) is
// written as it is, any other name is a file written atomically, through a
// symbolic link as cp does; the message says why it failed, naming the
// output.
FileWriteResult writeOutput(const QString &name, QByteArrayView bytes);

// Why `name` could not be written as an output, or an empty text; "-",
// devices and pipes can always be tried.
QString outputProblem(const QString &name);

// Text in UTF-8 to standard output / standard error.
bool printOut(const QString &text);
void printError(const QString &text);
// The text and a line end on standard error; nothing for an empty text.
void printErrorLine(const QString &text);

// The program's exit status once its work is done: a failed write of
// standard output is told on standard error and turns success into 1,
// except that a reader that went away (| head) ends it quietly, as the
// tools that feed pipes do.
int finishOutput(int status);
// Ends the event loop of a command that returned RunEventLoop, with the
// status finishOutput() gives.
void endEventLoop(int status);

} // namespace ferrox::cli
