// ferrox-cli timeline: each change of direction of a data file with its
// arrival time, byte count and response time, then the response times of
// each direction. The times come from the data file's sidecar. --chart
// also writes the response times as a chart, SVG or PNG by its name; SVG
// is text, PNG is painted by the chart painter (chartpainterprocess.h).
#include "chartpainterprocess.h"
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/cp932.h"
#include "frames/responsechart.h"
#include "timeline/texts.h"
#include "timeline/timeline.h"


namespace ferrox::cli {

namespace {

// The status once the table and the chart are written: a timeline cut at a
// tag-sequence error rejects the data.
int timelineStatus(qint32 errorOffset)
{
    if (errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace

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
    if (chartPath.isEmpty())
        return timelineStatus(timeline.errorOffset);
    const ResponseChart chart = layoutResponseChart(responsePointsOf(timeline));
    if (chartFormatOf(chartPath) == ChartFormat::Svg)
        return writeOutput(chartPath, chartSvg(chart)).ok ? timelineStatus(timeline.errorOffset) : stoppedByOutput();
    const bool started = startChartPainter(chart, [chartPath, errorOffset = timeline.errorOffset](std::optional<QByteArray> png) {
        if (!png)
            endEventLoop(ExitIoFailure);
        else if (!writeOutput(chartPath, *png).ok)
            endEventLoop(stoppedByOutput());
        else
            endEventLoop(timelineStatus(errorOffset));
    });
    return started ? RunEventLoop : ExitIoFailure;
}

} // namespace ferrox::cli
