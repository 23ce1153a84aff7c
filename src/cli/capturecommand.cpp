// ferrox-cli capture: a capture over a device as the program makes one,
// stopped by Ctrl+C, SIGTERM or --seconds; the stream goes to a data file
// with its arrival times beside it and, when asked, its rendering to a
// text file. With --split-bytes the capture goes on past the buffer into
// numbered data files.
#include "clioutput.h"
#include "commands.h"
#include "filenames.h"
#include "linkoptions.h"
#include "liveprinter.h"
#include "monitoroptions.h"
#include "splitoutput.h"

#include "data/captureoutput.h"
#include "data/texts.h"
#include "capture/consolecapture.h"
#include "files/fileaccess.h"
#include "link/texts.h"
#include "platform/terminationwatch.h"
#include "session/monitorsession.h"
#include "settings/settingsschema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

#include <unistd.h>

namespace ferrox::cli {

namespace {

// The live count on a terminal is redrawn at most this often.
constexpr qint64 LiveCountPeriodMs = 200;
// An idle gap that ends a line of --live.
constexpr int LiveGapMs = 20;

// The monitored-byte count redrawn in place on a terminal, at most every
// LiveCountPeriodMs; any other line first ends it.
class LiveCount
{
public:
    void show(qint64 monitoredBytes)
    {
        if (m_shown.isValid() && !m_shown.hasExpired(LiveCountPeriodMs))
            return;
        m_shown.start();
        printError(QStringLiteral("\rmonitored bytes: %1 ").arg(monitoredBytes));
    }
    void end()
    {
        if (m_shown.isValid())
            printError(QStringLiteral("\n"));
        m_shown.invalidate();
    }

private:
    QElapsedTimer m_shown;
};

// The most stream bytes of a split file: with its end code it fills the
// buffer, so every file opens in the window.
constexpr int largestSplit = StreamSplitter::LargestPiece;

FileWriteResult writeOutputBesidePcap(const QString &name, QByteArrayView bytes)
{
    if (name == QLatin1String("-"))
        return {true, {}};
    return writeOutput(name, bytes);
}

int splitExitStatus(const ConsoleCaptureResult &capture, const SplitOutput &split)
{
    if (!split.failure().isEmpty())
        return ExitIoFailure;
    if (capture.ending.exit == CaptureExit::PortLost)
        return ExitLinkFailure;
    return split.sequenceErrors() != 0 || split.monitoredBytes() == 0 ? ExitRejected : ExitSuccess;
}

// A file that failed is told by finishOutput() and ends with 1 there; a
// data file or text whose reader went away (-o -) changes nothing.
int exitStatusOf(const ConsoleCaptureResult &capture, const CaptureOutput &output)
{
    if (output.status == CaptureOutput::Status::WriteFailed && !outputReaderLeft())
        return ExitIoFailure;
    if (capture.ending.exit == CaptureExit::PortLost)
        return ExitLinkFailure;
    const bool rejected = output.status == CaptureOutput::Status::Rejected || output.SequenceErrorCount != 0
        || capture.data.capture.DataByteCount() == 0;
    return rejected ? ExitRejected : ExitSuccess;
}

// The summary's note of a capture its live reader ended.
void tellEndedByReader(bool readerLeft)
{
    if (readerLeft)
        printError(QStringLiteral("ended early: the reader of the live output went away\n"));
}

// Hands `printer` (taken over by the capture) the capture's monitored
// bytes, decoded as the window's live view decodes a capture's; `name`
// names its output in messages.
LivePrinter *writeLive(ConsoleCapture &capture, LivePrinter *printer, const QString &name)
{
    printer->setParent(&capture);
    QObject::connect(&printer->output(), &LiveOutput::fellBehind, printer, [] {
        printError(QStringLiteral("ferrox-cli capture: the live output is not read fast enough; it skips what it cannot take "
                                  "(the data file keeps every byte)\n"));
    });
    // Its reader gone (`| head`, a Wireshark closed) or its write failed,
    // the capture ends as when stopped: the board stopped, the data file
    // written.
    watchLiveOutput(printer->output(), name, [&capture] { capture.requestStop(); });
    auto decoder = std::make_shared<LiveByteDecoder>(LiveByteDecoder::Rule::Capture);
    QObject::connect(&capture, &ConsoleCapture::stored, printer, [&capture, printer, decoder](const QByteArray &bytes, qint64 micros) {
        printer->feed(decoder->decode(bytes), capture.arrivalTimes().startEpochMicros + micros);
    });
    // Before the capture's counts are printed, so its last line comes first.
    QObject::connect(&capture, &ConsoleCapture::finished, printer, &LivePrinter::finish);
    return printer;
}

} // namespace

int captureCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("capture"), linkArgument(), 1, linkOptions() + monitoredLineOptions() + QList<CliOption>{
        dataWidthOption(),
        stopAfterOption(QStringLiteral("streaming")),
        {QStringLiteral("o"), QStringLiteral("OUT.dat"), QStringLiteral("the data file to write (- for standard output)")},
        {QStringLiteral("mode"), QStringLiteral("1-5"),
         QStringLiteral("display mode of the text file (default %1)").arg(firstRunSettings().displayMode)},
        {QStringLiteral("text"), QStringLiteral("OUT.txt"), QStringLiteral("render the capture into this file (- for standard output)")},
        {QStringLiteral("split-bytes"), QStringLiteral("N"), QStringLiteral("go on past the buffer into OUT-00001.dat, ... of at most N stream bytes (2 to 262144)")},
        {QStringLiteral("files"), QStringLiteral("K"), QStringLiteral("with --split-bytes: keep only the newest K files")},
        {QStringLiteral("live"), QString(), QStringLiteral("print the monitored bytes on standard error as they arrive, as monitor does")},
        {QStringLiteral("format"), QStringLiteral("pcap"), QStringLiteral("stream the monitored bytes on standard output as pcap records, a message each, as they arrive (-o - then writes no data file)")},
    } + CliArguments::encodingOptions(), true);
    if (!args.parse(arguments))
        return args.exitStatus();
    std::optional<MonitorSettings> settings = readLinkOptions(args);
    if (!settings)
        return ExitUsage;
    const QString device = settings->port;
    const QString dataPath = args.value(QStringLiteral("o"), QString());
    if (dataPath.isEmpty())
        return args.usageError(QStringLiteral("-o OUT.dat is required"));
    if (!readMonitoredLine(args, *settings) || !readDataWidth(args, *settings))
        return ExitUsage;
    const std::optional<int> stopAfterMs = readStopAfterMs(args);
    if (!stopAfterMs)
        return ExitUsage;
    const QString textPath = args.value(QStringLiteral("text"), QString());
    if (args.isSet(QStringLiteral("mode")) && textPath.isEmpty())
        return args.usageError(QStringLiteral("--mode needs --text OUT.txt"));
    const std::optional<int> mode = args.number(QStringLiteral("mode"), 1, DisplayModeCount, firstRunSettings().displayMode);
    if (!mode)
        return ExitUsage;
    if (!textPath.isEmpty() && !inputOverwrittenBy(textPath, dataPath).isEmpty())
        return args.usageError(QStringLiteral("-o and --text name the same output, or --text the arrival times"));
    const bool livePcap = args.isSet(QStringLiteral("format"));
    if (livePcap && args.value(QStringLiteral("format"), QString()) != QLatin1String("pcap"))
        return args.usageError(QStringLiteral("--format takes pcap"));
    if (livePcap && textPath == QLatin1String("-"))
        return args.usageError(QStringLiteral("--format pcap takes standard output; --text - cannot share it"));
    if (const int refused = livePcap ? refuseBinaryOnTerminal(args, QStringLiteral("-"), QStringLiteral("pcap records"))
                                     : refuseBinaryOnTerminal(args, dataPath, QStringLiteral("the data file")))
        return refused;
    const std::optional<bool> utf8 = args.utf8Chosen(textPath == QLatin1String("-") && outputIsTerminal());
    if (!utf8)
        return ExitUsage;
    const bool splitting = args.isSet(QStringLiteral("split-bytes"));
    if (args.isSet(QStringLiteral("files")) && !splitting)
        return args.usageError(QStringLiteral("--files needs --split-bytes N"));
    if (splitting && !textPath.isEmpty())
        return args.usageError(QStringLiteral("--text renders one buffer; it cannot go with --split-bytes"));
    const std::optional<int> splitBytes = args.number(QStringLiteral("split-bytes"), 2, largestSplit, largestSplit);
    const std::optional<int> keepFiles = args.number(QStringLiteral("files"), 1, 1'000'000, 0);
    if (!splitBytes || !keepFiles)
        return ExitUsage;
    const SplitFiles splitFiles(dataPath, *keepFiles);
    if (splitting && !splitFiles.collision().isEmpty()) {
        printError(QStringLiteral("ferrox-cli capture: %1 exists; a split capture never overwrites a file of its series\n")
                       .arg(splitFiles.collision()));
        return ExitIoFailure;
    }
    if (splitting && dataPath == QLatin1String("-"))
        return args.usageError(QStringLiteral("--split-bytes writes numbered files; -o - cannot take them"));

    // Refuse now rather than lose the capture at the end.
    for (const QString &path : {splitting ? splitFiles.pieceName(1) : dataPath, textPath}) {
        const QString problem = path.isEmpty() ? QString() : outputProblem(path);
        if (!problem.isEmpty()) {
            printError(problem + u'\n');
            return ExitIoFailure;
        }
    }

    CaptureOutputRequest output;
    output.files.dataPath = dataPath;
    output.files.textPath = textPath;
    output.DisplayModeNumber = *mode;
    output.utf8 = *utf8;
    // With the pcap stream on standard output, "-o -" names no data file.
    output.files.writeFile = livePcap ? writeOutputBesidePcap : writeOutput;
    output.files.hasSidecar = [](const QString &path) { return path != QLatin1String("-") && !isStream(path); };
    // The header's lines as the window's settings panel shows the same choices.
    output.header = headerSettingsOf(*settings);
    output.header.port = device;

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    LinkSession &session = openLink(device);
    LinkOwner *owner = &session.owner();
    auto *capture = &session.run<ConsoleCapture>();
    capture->setSettingsCheck(offeredOptionsCheck(*settings));
    auto *stopTimer = new QTimer(app);
    stopTimer->setSingleShot(true);
    // A coarse timer may end a capture up to 5 % early.
    stopTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(stopTimer, &QTimer::timeout, capture, &ConsoleCapture::requestStop);

    auto *termination = new TerminationWatch(app);
    QString watchError;
    if (termination->install(watchError))
        QObject::connect(termination, &TerminationWatch::terminationRequested, capture, &ConsoleCapture::requestStop);
    else
        printError(QStringLiteral("ferrox-cli capture: Ctrl+C cannot stop this capture (%1); use --seconds\n").arg(watchError));
    // Standard output carries only what was asked for: the capture's log,
    // its counts and a live count on a terminal go to standard error.
    auto liveCount = std::make_shared<LiveCount>();
    QObject::connect(capture, &ConsoleCapture::logText, app, [liveCount](const QString &text) {
        liveCount->end();
        printError(text);
    });
    const bool live = ::isatty(STDERR_FILENO) == 1 && !args.isSet(QStringLiteral("live"));
    if (live && !splitting)
        QObject::connect(capture, &ConsoleCapture::progress, app,
                         [liveCount](qint32 CaptureCount) { liveCount->show(CaptureCount / 2); });
    QList<LivePrinter *> printers;
    if (args.isSet(QStringLiteral("live")))
        printers.append(writeLive(*capture, new LivePrinter(STDERR_FILENO, LiveForm::Lines, LiveGapMs), standardErrorName()));
    if (livePcap)
        printers.append(writeLive(*capture, new LivePrinter(STDOUT_FILENO, pcapRecordRule(*settings)), standardOutputName()));
    QObject::connect(capture, &ConsoleCapture::streamStarted, app, [stopTimer, stopAfterMs = *stopAfterMs] {
        if (stopAfterMs > 0)
            stopTimer->start(stopAfterMs);
    });

    // A split capture keeps nothing in the buffer: each block goes on to
    // the files at once. A file that cannot be written stops the capture.
    // Made when the stream starts, which gives the files' start time.
    auto split = std::make_shared<std::optional<SplitOutput>>();
    if (splitting) {
        capture->setKeepsStream(false);
        QObject::connect(capture, &ConsoleCapture::streamStarted, app, [split, capture, dataPath, splitBytes, keepFiles] {
            split->emplace(dataPath, *splitBytes, *keepFiles, capture->arrivalTimes());
        });
        QObject::connect(capture, &ConsoleCapture::stored, app, [split, capture, liveCount, live](const QByteArray &bytes, qint64 micros) {
            if (!(*split)->feed(bytes, micros))
                capture->requestStop();
            else if (live)
                liveCount->show((*split)->monitoredBytes());
        });
    }
    QObject::connect(capture, &ConsoleCapture::finished, app, [owner, output, liveCount, split, printers](const ConsoleCaptureResult &result) {
        liveCount->end();
        owner->shutdown();
        if (result.status == ConsoleCaptureResult::Status::LinkFailed) {
            printError(result.text);
            endAfterLiveOutputs(printers, ExitLinkFailure);
            return;
        }
        if (split->has_value()) {
            SplitOutput &files = split->value();
            files.finish(result.ending.exit != CaptureExit::EndCode);
            printError(QStringLiteral("monitored bytes: %1\nsequence errors: %2\nfiles: %3\n")
                           .arg(files.savedMonitoredBytes())
                           .arg(files.sequenceErrors())
                           .arg(files.files().written()));
            if (files.lastByteCut())
                printErrorLine(DataTexts::lastByteCut());
            tellEndedByReader(outputReaderLeft());
            if (!files.failure().isEmpty())
                printError(files.failure() + u'\n');
            endAfterLiveOutputs(printers, splitExitStatus(result, files));
            return;
        }
        const bool readerLeft = outputReaderLeft();
        const CaptureOutput written = writeCaptureOutput(result.data, output);
        printError(QStringLiteral("monitored bytes: %1\nsequence errors: %2\n")
                       .arg(result.data.capture.DataByteCount())
                       .arg(written.SequenceErrorCount));
        tellEndedByReader(readerLeft);
        printError(written.message);
        endAfterLiveOutputs(printers, exitStatusOf(result, written));
    });
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, capture, [capture, chosen = *settings] { capture->start(chosen); });
    return RunEventLoop;
}

} // namespace ferrox::cli
