// ferrox-cli monitor: the simple monitor on a terminal or a pipe. The board
// streams as it does for the window's simple monitor, and the monitored
// bytes are printed (or streamed as pcap records) as they arrive until Ctrl+C, SIGTERM, --count,
// --seconds or a reader that went away; then the board is stopped.
#include "clioutput.h"
#include "commands.h"
#include "framingoptions.h"
#include "linkoptions.h"
#include "liveprinter.h"
#include "monitoroptions.h"

#include "capture/consolemonitor.h"
#include "link/linkowner.h"
#include "platform/terminationwatch.h"

#include <QCoreApplication>
#include <QTimer>

#include <unistd.h>

namespace ferrox::cli {

int monitorCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("monitor"), linkArgument(), 1, linkOptions() + monitoredLineOptions() + QList<CliOption>{
        {QStringLiteral("format"), QStringLiteral("FORM"), QStringLiteral("lines (time, sender, hex and characters), hex, text or pcap (default lines)")},
        {QStringLiteral("gap"), QStringLiteral("MS"), QStringLiteral("an idle gap of MS milliseconds ends a line (default 20) or a pcap record (default 3.5 characters)")},
        {QStringLiteral("count"), QStringLiteral("N"), QStringLiteral("stop after N monitored bytes")},
        recordDecoderOption(),
        stopAfterOption(QStringLiteral("monitoring")),
    }, true);
    if (!args.parse(arguments))
        return args.exitStatus();
    std::optional<MonitorSettings> link = readLinkOptions(args);
    if (!link || !readMonitoredLine(args, *link))
        return ExitUsage;
    const std::optional<LiveForm> form = liveFormNamed(args.value(QStringLiteral("format"), QStringLiteral("lines")));
    if (!form)
        return args.usageError(QStringLiteral("--format takes lines, hex, text or pcap"));
    if (*form == LiveForm::Pcap) {
        if (const int refused = refuseBinaryOnTerminal(args, QStringLiteral("-"), QStringLiteral("pcap records")))
            return refused;
    }
    const std::optional<std::shared_ptr<const FrameDecoder>> recordDecoder = readRecordDecoder(args, *form == LiveForm::Pcap);
    if (!recordDecoder)
        return ExitUsage;
    const std::optional<int> gapMs = args.number(QStringLiteral("gap"), 1, 60'000, 20);
    const std::optional<int> count = args.number(QStringLiteral("count"), 1, std::numeric_limits<int>::max(), 0);
    const std::optional<int> stopAfterMs = readStopAfterMs(args);
    if (!gapMs || !count || !stopAfterMs)
        return ExitUsage;

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    LinkSession &session = openLink(link->port);
    LinkOwner *owner = &session.owner();
    auto *monitor = &session.run<ConsoleMonitor>();
    monitor->setSettingsCheck(offeredOptionsCheck(*link));
    // A pcap record ends as a frame does, unless --gap says when.
    std::optional<qint64> recordGapMicros;
    if (args.isSet(QStringLiteral("gap")))
        recordGapMicros = qint64(*gapMs) * 1000;
    auto *printer = *form == LiveForm::Pcap ? new LivePrinter(STDOUT_FILENO, pcapRecordRule(*link, recordGapMicros), *recordDecoder, app)
                                            : new LivePrinter(STDOUT_FILENO, *form, *gapMs, app);

    auto *termination = new TerminationWatch(app);
    QString watchError;
    if (termination->install(watchError))
        QObject::connect(termination, &TerminationWatch::terminationRequested, monitor, &ConsoleMonitor::requestStop);
    else
        printError(QStringLiteral("ferrox-cli monitor: Ctrl+C cannot stop the monitor (%1); use --seconds or --count\n").arg(watchError));
    // A reader that went away ends the monitor quietly, a failed write with
    // status 1; the board is stopped either way.
    watchLiveOutput(printer->output(), standardOutputName(), [monitor] { monitor->requestStop(); });
    QObject::connect(&printer->output(), &LiveOutput::fellBehind, app, [] {
        printError(QStringLiteral("ferrox-cli monitor: standard output is not read fast enough; lines are skipped until it catches up\n"));
    });
    QObject::connect(monitor, &ConsoleMonitor::logText, app, [](const QString &text) { printError(text); });
    QObject::connect(monitor, &ConsoleMonitor::streamStarted, app, [monitor, stopAfterMs = *stopAfterMs] {
        if (stopAfterMs > 0)
            QTimer::singleShot(stopAfterMs, Qt::PreciseTimer, monitor, &ConsoleMonitor::requestStop);
    });
    auto remaining = std::make_shared<qint64>(*count > 0 ? *count : -1);
    QObject::connect(monitor, &ConsoleMonitor::received, printer,
                     [printer, monitor, remaining](std::vector<LiveByte> bytes, qint64 epochMicros) {
                         if (*remaining == 0)
                             return;
                         if (*remaining > 0 && static_cast<qint64>(bytes.size()) > *remaining)
                             bytes.resize(static_cast<std::size_t>(*remaining));
                         if (*remaining > 0)
                             *remaining -= static_cast<qint64>(bytes.size());
                         // Printed first: the stop may end the program at once.
                         printer->feed(bytes, epochMicros);
                         if (*remaining == 0)
                             monitor->requestStop();
                     });
    QObject::connect(monitor, &ConsoleMonitor::finished, app, [owner, printer](const QString &failure) {
        owner->shutdown();
        if (!failure.isEmpty())
            printError(failure);
        printer->finish();
        endAfterLiveOutputs({printer}, failure.isEmpty() ? ExitSuccess : ExitLinkFailure);
    });
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, monitor, [monitor, chosen = *link] { monitor->start(chosen); });
    return RunEventLoop;
}

} // namespace ferrox::cli
