#pragma once

#include "commands.h"

#include "data/datafiles.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace ferrox {
class LiveOutput;
}

namespace ferrox::cli {

class CliArguments;

// Every output of a command (standard output, the files it writes, its
// live outputs) ends the command the same way when it fails:
// - a reader that went away (EPIPE: `| head`, a Wireshark closed) ends it
//   quietly, with the status it would have had;
// - any other failure is told once on standard error, naming the output
//   and the reason, and ends it with status 1.
// The failures are gathered here and told by finishOutput().

// Bytes to standard output unchanged; false when they could not all be
// written. The failure is noted for finishOutput().
bool writeOut(QByteArrayView bytes);

// Notes the failure of an output: `output` names it ("standard output", a
// path), `error` is the system's error number.
void noteOutputFailure(const QString &output, int error);
// Notes a failure whose message is already written (a file's own message).
void noteOutputFailureMessage(const QString &message);
// True once the reader of some output went away.
bool outputReaderLeft();
// A live output named `name` ("standard output", a FIFO's path) whose
// reader goes away or whose write fails: noted as above, then stop() (the
// board is stopped in order; a capture keeps its data file).
void watchLiveOutput(LiveOutput &output, const QString &name, std::function<void()> stop);
// What a command returns when it stops because an output failed; see
// finishOutput() for the status it ends with.
inline int stoppedByOutput() { return ExitSuccess; }

// True when standard output is a terminal.
bool outputIsTerminal();
// The names of standard output and standard error in messages.
QString standardOutputName();
QString standardErrorName();

// Refuses binary output (a data file, pcap records: `what`) to the output
// named `output` when that is standard output and a terminal, where it
// would show as noise and the monitored line's bytes could pass for the
// terminal's control sequences: the usage error's status, else 0.
int refuseBinaryOnTerminal(CliArguments &args, const QString &output, const QString &what);

// Writes bytes as the output named on the command line: "-" is standard
// output, a character device or named pipe (/dev/null, /dev/stdout) is
// written as it is, any other name is a file written atomically, through a
// symbolic link as cp does. A failure is noted for finishOutput(), which
// tells it; the result's message stays empty.
FileWriteResult writeOutput(const QString &name, QByteArrayView bytes);

// Why `name` could not be written as an output, or an empty text; "-",
// devices and pipes can always be tried.
QString outputProblem(const QString &name);

// Text in UTF-8 to standard output / standard error.
bool printOut(const QString &text);
void printError(const QString &text);
// The text and a line end on standard error; nothing for an empty text.
void printErrorLine(const QString &text);

// The program's exit status once its work is done: each failed output is
// told on standard error (once) and turns success, or data rejected, into
// 1; a failure of the link or of the usage keeps its own status. A reader
// that went away changes nothing.
int finishOutput(int status);
// Ends the event loop of a command that returned RunEventLoop, with the
// status finishOutput() gives.
void endEventLoop(int status);

} // namespace ferrox::cli
