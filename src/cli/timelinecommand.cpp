// ferrox-cli timeline: each change of direction of a data file with its
// arrival time, byte count and response time, then the response times of
// each direction. The times come from the data file's sidecar.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "timeline/texts.h"
#include "timeline/timeline.h"

namespace ferrox::cli {

int timelineCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("timeline"), QStringLiteral("FILE.dat"), 1, {});
    if (!args.parse(arguments))
        return args.exitStatus();

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadDataFile(path, status);
    if (!capture)
        return status;
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(*capture), times);
    if (!writeOut(timelineText(timeline).toUtf8()))
        return ExitIoFailure;
    if (timeline.errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(timeline.errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
