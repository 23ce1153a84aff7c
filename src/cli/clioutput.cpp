#include "clioutput.h"

#include "cliarguments.h"
#include "commands.h"

#include "data/captureoutput.h"
#include "data/texts.h"
#include "files/fileaccess.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace ferrox::cli {

namespace {

// The error of the first write to standard output that failed, 0 while
// none did; whether the user has been told.
int outputError = 0;
bool outputErrorTold = false;

// Why standard output failed, told once; nothing for a reader that went
// away (| head), as the tools that feed pipes end quietly then.
QString outputFailure()
{
    if (outputError == 0 || outputError == EPIPE || std::exchange(outputErrorTold, true))
        return {};
    return QStringLiteral("ferrox-cli: standard output could not be written: ") + fileErrorReason(outputError);
}

bool writeTo(std::FILE *stream, QByteArrayView bytes)
{
    const size_t size = size_t(bytes.size());
    errno = 0;
    const bool written = size == 0 || std::fwrite(bytes.data(), 1, size, stream) == size;
    const bool ok = std::fflush(stream) == 0 && written;
    if (!ok && stream == stdout && outputError == 0)
        outputError = errno != 0 ? errno : EIO;
    return ok;
}

} // namespace

bool writeOut(QByteArrayView bytes)
{
    return writeTo(stdout, bytes);
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
    if (name == QLatin1String("-")) {
        const bool written = writeOut(bytes);
        return {written, written ? QString() : outputFailure()};
    }
    if (!isStream(name))
        return writeFileAtomically(name, bytes);
    if (const FileError error = writeStreamContents(name, bytes))
        return {false, DataTexts::fileUnwritable(name, fileErrorReason(error))};
    return {true, {}};
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
    if (std::fflush(stdout) != 0 && outputError == 0)
        outputError = errno != 0 ? errno : EIO;
    if (outputError == 0)
        return status;
    printErrorLine(outputFailure());
    return status == ExitSuccess ? ExitIoFailure : status;
}

void endEventLoop(int status)
{
    QCoreApplication::exit(finishOutput(status));
}

} // namespace ferrox::cli
