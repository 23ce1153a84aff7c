// ferrox-cli measure: the line speed measurement over a device, as the
// measurement window makes it; Ctrl+C, SIGTERM or --seconds act like its
// stop button.
#include "clioutput.h"
#include "commands.h"
#include "jsonrecords.h"
#include "linkoptions.h"

#include "link/linkowner.h"
#include "platform/terminationwatch.h"
#include "speed/consolemeasurement.h"
#include "timeline/textfields.h"

#include <QCoreApplication>
#include <QTimer>

#include <unistd.h>

namespace ferrox::cli {

namespace {

int exitStatusOf(const ConsoleMeasurementResult &result)
{
    switch (result.status) {
    case ConsoleMeasurementResult::Status::LinkFailed:
    case ConsoleMeasurementResult::Status::NotOffered:
        return ExitLinkFailure;
    case ConsoleMeasurementResult::Status::Stopped:
        return ExitRejected;
    case ConsoleMeasurementResult::Status::Measured:
        break;
    }
    return result.evaluation.bitsPerSecond ? ExitSuccess : ExitRejected;
}

// The result for programs: the speed (null when it could not be measured),
// the shortest bit time the board timed and the program's own words.
QByteArray resultRecord(const RateEvaluation &evaluation)
{
    const bool timed = evaluation.shortestBitTime != NoShortestBitTime;
    return jsonRecordNow({
        {"bits_per_second", evaluation.bitsPerSecond ? QByteArray::number(*evaluation.bitsPerSecond) : "null"},
        {"shortest_bit_time_ns", timed ? QByteArray::number(evaluation.shortestBitTime) : "null"},
        {"text", jsonString(evaluation.text.trimmed())},
    });
}

} // namespace

int measureCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("measure"), linkArgument(), 1,
                      linkOptions() + QList<CliOption>{stopAfterOption(QStringLiteral("measuring")), resultFormatOption()}, true);
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<MonitorSettings> link = readLinkOptions(args);
    if (!link)
        return ExitUsage;
    const std::optional<int> stopAfterMs = readStopAfterMs(args);
    const std::optional<bool> json = stopAfterMs ? readJsonChosen(args) : std::nullopt;
    if (!stopAfterMs || !json)
        return ExitUsage;

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    LinkSession &session = openLink(link->port);
    LinkOwner *owner = &session.owner();
    auto *measurement = &session.run<ConsoleMeasurement>();
    auto *stopTimer = new QTimer(app);
    stopTimer->setSingleShot(true);
    stopTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(stopTimer, &QTimer::timeout, measurement, &ConsoleMeasurement::requestStop);
    auto *termination = new TerminationWatch(app);
    QString watchError;
    if (termination->install(watchError))
        QObject::connect(termination, &TerminationWatch::terminationRequested, measurement,
                         &ConsoleMeasurement::requestStop);
    else
        printError(QStringLiteral("ferrox-cli measure: Ctrl+C cannot stop this measurement (%1); use --seconds\n")
                       .arg(watchError));

    QObject::connect(measurement, &ConsoleMeasurement::measuring, app, [stopTimer, stopAfterMs = *stopAfterMs] {
        if (stopAfterMs > 0)
            stopTimer->start(stopAfterMs);
    });
    // The count of records, redrawn in place on a terminal.
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    if (terminal) {
        QObject::connect(measurement, &ConsoleMeasurement::progressed, app, [](const QString &text) {
            printError(u'\r' + text.section(QStringLiteral("\r\n"), -1) + u' ');
        });
    }
    QObject::connect(measurement, &ConsoleMeasurement::finished, app, [owner, terminal, json = *json](const ConsoleMeasurementResult &result) {
        if (terminal)
            printError(QStringLiteral("\n"));
        owner->shutdown();
        if (result.status == ConsoleMeasurementResult::Status::Measured && json)
            writeOut(resultRecord(result.evaluation));
        else if (result.status == ConsoleMeasurementResult::Status::Measured)
            printOut(result.text);
        else
            printError(result.text);
        endEventLoop(exitStatusOf(result));
    });
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, measurement, [measurement, link = *link] { measurement->start(checkRequestOf(link), link.port); });
    return RunEventLoop;
}

} // namespace ferrox::cli
