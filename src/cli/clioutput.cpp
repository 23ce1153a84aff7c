#include "clioutput.h"

#include "cliarguments.h"
#include "commands.h"

#include "data/captureoutput.h"
#include "data/texts.h"
#include "files/fileaccess.h"
#include "platform/liveoutput.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace ferrox::cli {

namespace {

// How the outputs fared: whether a reader went away, and the messages of
// every other failure, each told once.
struct OutputFates
{
    bool readerLeft = false;
    bool standardOutputFailed = false;
    QStringList failures;
    qsizetype told = 0;
};

OutputFates &fates()
{
    static OutputFates state;
    return state;
}

bool writeTo(std::FILE *stream, QByteArrayView bytes)
{
    errno = 0;
    // What the C library holds goes first; the bytes then go straight to
    // the descriptor: one system call for a long piece of a rendering,
    // where the library's buffer would split it into three.
    FileError error = std::fflush(stream) == 0 ? FileErrorNone : (errno != 0 ? errno : EIO);
    if (error == FileErrorNone)
        error = writeAll(fileno(stream), bytes);
    if (error != FileErrorNone && stream == stdout)
        noteOutputFailure(standardOutputName(), error);
    return error == FileErrorNone;
}

} // namespace

void noteOutputFailure(const QString &output, int error)
{
    OutputFates &state = fates();
    if (error == EPIPE) {
        state.readerLeft = true;
        return;
    }
    // Standard output fails once: whatever follows fails for the same reason.
    if (output == standardOutputName() && std::exchange(state.standardOutputFailed, true))
        return;
    noteOutputFailureMessage(QStringLiteral("ferrox-cli: %1 could not be written: %2").arg(output, fileErrorReason(error)));
}

void noteOutputFailureMessage(const QString &message)
{
    fates().failures.append(message);
}

void watchLiveOutput(LiveOutput &output, const QString &name, std::function<void()> stop)
{
    // Its first piece (a pcap file header) may have failed already.
    if (output.isClosed()) {
        noteOutputFailure(name, output.error());
        stop();
        return;
    }
    QObject::connect(&output, &LiveOutput::closed, &output, [name, stop] {
        noteOutputFailure(name, EPIPE);
        stop();
    });
    QObject::connect(&output, &LiveOutput::failed, &output, [name, stop](int error) {
        noteOutputFailure(name, error);
        stop();
    });
}

bool outputReaderLeft()
{
    return fates().readerLeft;
}

bool writeOut(QByteArrayView bytes)
{
    return writeTo(stdout, bytes);
}

QString standardOutputName()
{
    return QStringLiteral("standard output");
}

QString standardErrorName()
{
    return QStringLiteral("standard error");
}

bool outputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

int refuseBinaryOnTerminal(CliArguments &args, const QString &output, const QString &what)
{
    if (output != QLatin1String("-") || !outputIsTerminal())
        return 0;
    return args.usageError(
        QStringLiteral("will not write %1 to a terminal; name a file or pipe standard output into a program").arg(what));
}

FileWriteResult writeOutput(const QString &name, QByteArrayView bytes)
{
    if (name == QLatin1String("-"))
        return {writeOut(bytes), {}};
    if (!isStream(name)) {
        const FileWriteResult written = writeFileAtomically(name, bytes);
        if (!written.ok)
            noteOutputFailureMessage(written.message);
        return {written.ok, {}};
    }
    const FileError error = writeStreamContents(name, bytes);
    if (error == EPIPE)
        noteOutputFailure(name, error);
    else if (error != FileErrorNone)
        noteOutputFailureMessage(DataTexts::fileUnwritable(name, fileErrorReason(error)));
    return {error == FileErrorNone, {}};
}

QString outputProblem(const QString &name)
{
    if (name == QLatin1String("-") || isStream(name))
        return {};
    return outputPathProblem(name);
}

bool printOut(const QString &text)
{
    return writeTo(stdout, text.toUtf8());
}

void printError(const QString &text)
{
    writeTo(stderr, text.toUtf8());
}

void printErrorLine(const QString &text)
{
    if (!text.isEmpty())
        printError(text + u'\n');
}

int finishOutput(int status)
{
    // What the C library still holds counts too.
    errno = 0;
    if (std::fflush(stdout) != 0)
        noteOutputFailure(standardOutputName(), errno != 0 ? errno : EIO);
    OutputFates &state = fates();
    if (state.failures.isEmpty())
        return status;
    for (; state.told < state.failures.size(); ++state.told)
        printErrorLine(state.failures.at(state.told));
    return status == ExitSuccess || status == ExitRejected ? ExitIoFailure : status;
}

void endEventLoop(int status)
{
    QCoreApplication::exit(finishOutput(status));
}

} // namespace ferrox::cli
