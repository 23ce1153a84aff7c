// ferrox-cli timeline: each change of direction of a data file with its
// arrival time, byte count and response time, then the response times of
// each direction. The times come from the data file's sidecar. --chart
// also writes the response times as a chart, SVG or PNG by its name.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/cp932.h"
#include "frames/responsechart.h"
#include "frames/ui/chartpainter.h"
#include "timeline/texts.h"
#include "timeline/timeline.h"


namespace ferrox::cli {

int timelineCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("timeline"), QStringLiteral("FILE.dat"), 1,
                      CliArguments::encodingOptions(QStringLiteral("utf8")) << CliOption {
                          QStringLiteral("chart"), QStringLiteral("OUT.svg|OUT.png"), QStringLiteral("also write the response-time chart")});
    if (!args.parse(arguments))
        return args.exitStatus();
    // UTF-8 unless code page 932 is asked for: the table is no file of the program's.
    const std::optional<bool> utf8 = args.utf8Chosen(true);
    if (!utf8)
        return ExitUsage;
    const QString chartPath = args.value(QStringLiteral("chart"), QString());
    if (!chartPath.isEmpty() && !isChartFileName(chartPath))
        return args.usageError(QStringLiteral("--chart names an .svg or .png file"));

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(*capture), times);
    const QString text = timelineText(timeline);
    if (!writeOut(*utf8 ? text.toUtf8() : encodeCp932(text)))
        return stoppedByOutput();
    if (!chartPath.isEmpty()) {
        const QByteArray bytes = chartFileBytes(layoutResponseChart(responsePointsOf(timeline)), chartPath);
        if (!writeOutput(chartPath, bytes).ok)
            return stoppedByOutput();
    }
    if (timeline.errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(timeline.errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
