#include "datafileinput.h"

#include "clioutput.h"
#include "commands.h"
#include "filenames.h"

#include "data/datafiles.h"
#include "data/texts.h"
#include "data/sidecar.h"

namespace ferrox::cli {

std::optional<CaptureBuffer> loadDataFile(const QString &path, int &exitStatus)
{
    // Missing, a folder or unreadable: the message says which.
    LoadResult loaded = LoadMonitorData(path);
    switch (loaded.status) {
    case LoadResult::Status::Unreadable:
        printError(loaded.message + QLatin1Char('\n'));
        exitStatus = ExitIoFailure;
        return std::nullopt;
    case LoadResult::Status::Empty:
        printError(loaded.message + QLatin1Char('\n'));
        exitStatus = ExitRejected;
        return std::nullopt;
    case LoadResult::Status::Cut:
        printError(loaded.message + QLatin1Char('\n'));
        break;
    case LoadResult::Status::Loaded:
        break;
    }
    return std::move(loaded.capture);
}

std::optional<CaptureBuffer> loadMonitorData(const QString &path, int &exitStatus)
{
    std::optional<CaptureBuffer> capture = loadDataFile(path, exitStatus);
    if (capture && capture->CaptureEnd() == 0) {
        printError(DataTexts::noMonitorData() + QLatin1Char('\n'));
        exitStatus = ExitRejected;
        return std::nullopt;
    }
    return capture;
}

int refuseOverwritingInput(CliArguments &args, const QString &output, const QString &dataPath)
{
    const QString input = output == QLatin1String("-") ? QString() : inputOverwrittenBy(output, dataPath);
    return input.isEmpty() ? 0 : args.usageError(QStringLiteral("-o names %1, which is read").arg(input));
}

std::optional<ArrivalTimes> loadArrivalTimes(const QString &path, const CaptureBuffer &capture)
{
    SidecarRead read = readSidecar(path, qint64(capture.CaptureEnd()) + 1);
    if (read.status == SidecarRead::Status::Ignored)
        printError(read.note + QLatin1Char('\n'));
    else if (!read.times)
        printError(DataTexts::noArrivalTimes() + QLatin1Char('\n'));
    return std::move(read.times);
}

} // namespace ferrox::cli
