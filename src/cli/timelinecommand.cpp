// ferrox-cli timeline: each change of direction of a data file with its
// arrival time, byte count and response time, then the response times of
// each direction. The times come from the data file's sidecar. --chart
// also writes the response times as a chart, SVG or PNG by its name; SVG
// is text, PNG is painted by the chart painter (chartpainterprocess.h).
// With --series a split capture's files are one timeline, written file by
// file, with the lost links and missing files between them.
#include "chartpainterprocess.h"
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "seriesinput.h"

#include "data/cp932.h"
#include "frames/responsechart.h"
#include "timeline/texts.h"
#include "timeline/timeline.h"

#include <utility>


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

int seriesTimeline(const SeriesFiles &files, bool utf8)
{
    bool written = true;
    const auto write = [utf8, &written](const QString &text) {
        return written = writeOut(utf8 ? text.toUtf8() : encodeCp932(text));
    };
    QString pending; // gap lines wait for the head, which the first file's times give
    bool headWritten = false;
    // The response times alone are kept, 8 bytes each, for the exact median.
    QList<qint64> gapsJ1;
    QList<qint64> gapsJ2;
    const int status = walkSeries(files, [&](const SeriesGap &gap) {
        pending += seriesGapText(gap) + u'\n';
        return true;
    }, [&](const SeriesPiece &piece) {
        QString text = headWritten ? QString() : timelineHeadText(piece.times, -1);
        headWritten = true;
        text += std::exchange(pending, {}) + TimelineTexts::seriesFile(piece.path) + u'\n';
        const Timeline timeline = buildTimeline(piece.bytes, piece.times);
        for (const TimelineRun &run : timeline.runs) {
            if (run.gapMicros)
                (run.direction == Direction::J1 ? gapsJ1 : gapsJ2).append(*run.gapMicros);
        }
        return write(text + timelineRunsText(timeline.runs));
    });
    if (!written)
        return stoppedByOutput();
    const QString head = headWritten ? QString() : timelineHeadText(std::nullopt, -1);
    if (!write(head + pending + timelineResponsesText(responseStatistics(gapsJ1), responseStatistics(gapsJ2))))
        return stoppedByOutput();
    return status;
}

} // namespace

int timelineCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("timeline"), QStringLiteral("FILE.dat"), 1,
                      CliArguments::encodingOptions(QStringLiteral("utf8")) << CliOption {
                          QStringLiteral("chart"), QStringLiteral("OUT.svg|OUT.png"), QStringLiteral("also write the response-time chart")}
                          << seriesOption());
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
    if (args.isSet(QStringLiteral("series"))) {
        if (!chartPath.isEmpty())
            return args.usageError(QStringLiteral("--chart draws one data file; --series reads many"));
        const std::optional<SeriesFiles> files = findSeriesFor(path, status);
        return files ? seriesTimeline(*files, *utf8) : status;
    }
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    hintSeries(path);
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
