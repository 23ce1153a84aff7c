// ferrox-cli timeline: each change of direction of a data file with its
// arrival time, byte count and response time, then the response times of
// each direction. The times come from the data file's sidecar. --chart
// also writes the response times as a chart, SVG or PNG by its name.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "frames/responsechart.h"
#include "frames/ui/chartpainter.h"
#include "timeline/texts.h"
#include "timeline/timeline.h"

#include <QBuffer>

namespace ferrox::cli {

int timelineCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("timeline"), QStringLiteral("FILE.dat"), 1, {
        {QStringLiteral("chart"), QStringLiteral("OUT.svg|OUT.png"), QStringLiteral("also write the response-time chart")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const QString chartPath = args.value(QStringLiteral("chart"), QString());
    const bool png = chartPath.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (!chartPath.isEmpty() && !png && !chartPath.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return args.usageError(QStringLiteral("--chart names an .svg or .png file"));

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadDataFile(path, status);
    if (!capture)
        return status;
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(*capture), times);
    if (!writeOut(timelineText(timeline).toUtf8()))
        return ExitIoFailure;
    if (!chartPath.isEmpty()) {
        const ResponseChart chart = layoutResponseChart(responsePointsOf(timeline));
        QByteArray bytes = png ? QByteArray() : chartSvg(chart);
        if (png) {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            chartImage(chart).save(&buffer, "PNG");
        }
        if (const FileWriteResult written = writeOutput(chartPath, bytes); !written.ok) {
            printError(written.message + QLatin1Char('\n'));
            return ExitIoFailure;
        }
    }
    if (timeline.errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(timeline.errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
