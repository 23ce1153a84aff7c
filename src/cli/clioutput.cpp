#include "clioutput.h"

#include "filenames.h"

#include <cstdio>
#include <unistd.h>

namespace ferrox::cli {

namespace {

bool writeTo(std::FILE *stream, QByteArrayView bytes)
{
    const size_t size = size_t(bytes.size());
    const bool written = size == 0 || std::fwrite(bytes.data(), 1, size, stream) == size;
    return std::fflush(stream) == 0 && written;
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

FileWriteResult writeOutput(const QString &name, QByteArrayView bytes)
{
    if (name != QLatin1String("-"))
        return writeNamedFile(name, bytes);
    if (writeOut(bytes))
        return {true, {}};
    return {false, QStringLiteral("ferrox-cli: standard output could not be written")};
}

void printOut(const QString &text)
{
    writeTo(stdout, text.toUtf8());
}

void printError(const QString &text)
{
    writeTo(stderr, text.toUtf8());
}

} // namespace ferrox::cli
