// ferrox-cli capture: a capture over a device as the program makes one,
// stopped by Ctrl+C, SIGTERM or --seconds; the stream goes to a data file
// with its arrival times beside it and, when asked, its rendering to a
// text file. With --split-bytes the capture goes on past the buffer into
// numbered data files, and with --resume it survives a lost link.
#include "clioutput.h"
#include "commands.h"
#include "filenames.h"
#include "framingoptions.h"
#include "linkoptions.h"
#include "liveprinter.h"
#include "monitoroptions.h"

#include "data/captureoutput.h"
#include "data/texts.h"
#include "capture/consolecapture.h"
#include "capture/resumingcapture.h"
#include "files/fileaccess.h"
#include "link/texts.h"
#include "platform/terminationwatch.h"
#include "session/monitorsession.h"
#include "settings/settingsschema.h"

#include <QCoreApplication>
#include <QDateTime>
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

// 0 for a capture that ended as asked (or by the board's own end), 3 for
// one whose link failed, was lost or did not come back, 1 for a file.
int streamExitStatus(const SplitCaptureResult &result)
{
    using End = SplitCaptureResult::End;
    if (result.end == End::WriteFailed)
        return ExitIoFailure;
    return result.end == End::Stopped || result.end == End::StreamEnded ? ExitSuccess : ExitLinkFailure;
}

// A resuming capture ended as asked ends 0 even when the link never came.
int splitExitStatus(const SplitCaptureResult &result, const SplitOutput &split, bool resume)
{
    if (const int status = streamExitStatus(result); status != ExitSuccess)
        return status;
    if (split.sequenceErrors() != 0)
        return ExitRejected;
    return split.monitoredBytes() == 0 && !resume ? ExitRejected : ExitSuccess;
}

// One line of a resuming capture's events, with the local time: a service's
// journal gets one line per event.
QString eventLine(qint64 epochMicros, const QString &text)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(epochMicros / 1000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return QStringLiteral("ferrox-cli capture: %1 %2\n").arg(time, text.trimmed().replace(u'\n', u' '));
}

// The capture's log and counts on standard error. Quiet (--quiet), they
// are held and said only when the capture fails: a remote capture run by
// Wireshark's sshdump shows whatever comes there as an error.
class StatusLog
{
public:
    explicit StatusLog(bool quiet) : m_quiet(quiet) {}
    void say(const QString &text)
    {
        if (m_quiet)
            m_held += text;
        else
            printError(text);
    }
    // Ends the program with `status` once the live outputs are done.
    void end(const QList<LivePrinter *> &printers, int status)
    {
        if (m_quiet && status != ExitSuccess)
            printError(m_held);
        m_held.clear();
        endAfterLiveOutputs(printers, status);
    }

private:
    bool m_quiet;
    QString m_held;
};

qint64 nowEpochMicros()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000;
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
QString endedByReaderNote(bool readerLeft)
{
    return readerLeft ? QStringLiteral("ended early: the reader of the live output went away\n") : QString();
}

// The live outputs of a capture: its monitored bytes, decoded as the
// window's live view decodes a capture's, go to each printer.
class LiveOutputs
{
public:
    // Takes `printer` over (owned by `owner`); `name` names its output in
    // messages; `stop` ends the capture when the output's reader goes
    // away (`| head`, a Wireshark closed) or its write fails: the board is
    // then stopped and the data written, as with Ctrl+C.
    void add(LivePrinter *printer, const QString &name, QObject *owner, const std::function<void()> &stop)
    {
        printer->setParent(owner);
        QObject::connect(&printer->output(), &LiveOutput::fellBehind, printer, [] {
            printError(QStringLiteral("ferrox-cli capture: the live output is not read fast enough; it skips what it cannot take "
                                      "(the data file keeps every byte)\n"));
        });
        watchLiveOutput(printer->output(), name, stop);
        m_printers.append(printer);
    }
    void feed(const QByteArray &bytes, qint64 epochMicros)
    {
        if (m_printers.isEmpty())
            return;
        const std::vector<LiveByte> decoded = m_decoder.decode(bytes);
        for (LivePrinter *printer : std::as_const(m_printers))
            printer->feed(decoded, epochMicros);
    }
    // A new stream after a lost link: a half byte left from the last is no byte.
    void restart() { m_decoder = LiveByteDecoder(LiveByteDecoder::Rule::Capture); }
    // Before the capture's counts are printed, so its last line comes first.
    void finish()
    {
        for (LivePrinter *printer : std::as_const(m_printers))
            printer->finish();
    }
    const QList<LivePrinter *> &printers() const { return m_printers; }

private:
    QList<LivePrinter *> m_printers;
    LiveByteDecoder m_decoder{LiveByteDecoder::Rule::Capture};
};

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
        {QStringLiteral("resume"), QString(), QStringLiteral("with --split-bytes: after a lost link, wait for the device to come back and go on in the next file")},
        {QStringLiteral("resume-timeout"), QStringLiteral("S"), QStringLiteral("with --resume: give up when the link stays down S seconds (default: wait for ever)")},
        {QStringLiteral("quiet"), QString(), QStringLiteral("say nothing on standard error unless the capture fails (a remote capture through sshdump)")},
        {QStringLiteral("live"), QString(), QStringLiteral("print the monitored bytes on standard error as they arrive, as monitor does")},
        {QStringLiteral("format"), QStringLiteral("pcap"), QStringLiteral("stream the monitored bytes on standard output as pcap records, a message each, as they arrive (-o - then writes no data file)")},
        recordDecoderOption(),
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
    const std::optional<std::shared_ptr<const FrameDecoder>> recordDecoder = readRecordDecoder(args, livePcap);
    if (!recordDecoder)
        return ExitUsage;
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
    const bool resume = args.isSet(QStringLiteral("resume"));
    // Without files, only the live pcap stream may go on across a lost link.
    const bool streamOnly = livePcap && dataPath == QLatin1String("-");
    if (resume && !splitting && !streamOnly)
        return args.usageError(QStringLiteral("--resume needs --split-bytes N (or --format pcap -o -)"));
    if (args.isSet(QStringLiteral("resume-timeout")) && !resume)
        return args.usageError(QStringLiteral("--resume-timeout needs --resume"));
    const std::optional<int> splitBytes = args.number(QStringLiteral("split-bytes"), 2, largestSplit, largestSplit);
    const std::optional<int> keepFiles = args.number(QStringLiteral("files"), 1, 1'000'000, 0);
    const std::optional<double> resumeTimeout = args.decimal(QStringLiteral("resume-timeout"), 0, 2'000'000, 0, true);
    if (!splitBytes || !keepFiles || !resumeTimeout)
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

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    LinkSession &session = openLink(device);
    LinkOwner *owner = &session.owner();
    auto *stopTimer = new QTimer(app);
    stopTimer->setSingleShot(true);
    // A coarse timer may end a capture up to 5 % early.
    stopTimer->setTimerType(Qt::PreciseTimer);
    // From the stream's start (the first one's, or the first wait for the link).
    const auto startStopTimer = [stopTimer, stopAfterMs = *stopAfterMs, started = std::make_shared<bool>(false)] {
        if (stopAfterMs > 0 && !*started)
            stopTimer->start(stopAfterMs);
        *started = true;
    };
    auto *termination = new TerminationWatch(app);
    QString watchError;
    const bool stoppable = termination->install(watchError);
    if (!stoppable)
        printError(QStringLiteral("ferrox-cli capture: Ctrl+C cannot stop this capture (%1); use --seconds\n").arg(watchError));
    // Standard output carries only what was asked for: the capture's log,
    // its counts and a live count on a terminal go to standard error; a
    // service's journal gets no count.
    const bool quiet = args.isSet(QStringLiteral("quiet"));
    auto log = std::make_shared<StatusLog>(quiet);
    auto liveCount = std::make_shared<LiveCount>();
    const auto printLog = [liveCount, log](const QString &text) {
        liveCount->end();
        log->say(text);
    };
    const bool live = ::isatty(STDERR_FILENO) == 1 && !args.isSet(QStringLiteral("live")) && !quiet;
    auto liveOutputs = std::make_shared<LiveOutputs>();
    const auto addLiveOutputs = [&](QObject *capture, const std::function<void()> &stop) {
        if (args.isSet(QStringLiteral("live")))
            liveOutputs->add(new LivePrinter(STDERR_FILENO, LiveForm::Lines, LiveGapMs), standardErrorName(), capture, stop);
        if (livePcap)
            liveOutputs->add(new LivePrinter(STDOUT_FILENO, pcapRecordRule(*settings), *recordDecoder), standardOutputName(), capture, stop);
    };

    if (splitting || resume) {
        // A split capture keeps nothing in the buffer: each block goes on to
        // the files at once. A file that cannot be written stops the capture.
        SplitCaptureRequest request;
        request.settings = *settings;
        request.settingsCheck = offeredOptionsCheck(*settings);
        request.dataPath = splitting ? dataPath : QString();
        request.splitBytes = *splitBytes;
        request.keepFiles = *keepFiles;
        request.resume = resume;
        request.resumeTimeoutMs = qRound(*resumeTimeout * 1000);
        auto *capture = &session.run<ResumingCapture>(request);
        QObject::connect(stopTimer, &QTimer::timeout, capture, &ResumingCapture::requestStop);
        if (stoppable)
            QObject::connect(termination, &TerminationWatch::terminationRequested, capture, &ResumingCapture::requestStop);
        addLiveOutputs(capture, [capture] { capture->requestStop(); });
        QObject::connect(capture, &ResumingCapture::logText, app, printLog);
        QObject::connect(capture, &ResumingCapture::stored, app, [liveOutputs](const QByteArray &bytes, qint64 epochMicros) {
            liveOutputs->feed(bytes, epochMicros);
        });
        if (live)
            QObject::connect(capture, &ResumingCapture::progress, app, [liveCount](qint64 monitored) { liveCount->show(monitored); });
        QObject::connect(capture, &ResumingCapture::streamStarted, app, startStopTimer);
        QObject::connect(capture, &ResumingCapture::linkLost, app,
                         [printLog, device](qint64 at, const QString &, bool lastByteCut) {
            // Why, the capture's log has just said.
            printLog(eventLine(at, QStringLiteral("link lost; waiting for %1 to come back").arg(device))
                     + (lastByteCut ? DataTexts::lastByteCut() + u'\n' : QString()));
        });
        QObject::connect(capture, &ResumingCapture::waiting, app, [printLog, startStopTimer](const QString &reason) {
            printLog(eventLine(nowEpochMicros(), QStringLiteral("waiting for the link: ") + reason));
            startStopTimer();
        });
        QObject::connect(capture, &ResumingCapture::boardChanged, app, [printLog](const QString &before, const QString &now) {
            printLog(eventLine(nowEpochMicros(), QStringLiteral("another board answers: firmware %1 (was %2)").arg(now, before)));
        });
        QObject::connect(capture, &ResumingCapture::resumed, app,
                         [liveOutputs, printLog](qint64 at, const QString &file, int resumes) {
            liveOutputs->restart();
            printLog(eventLine(at, file.isEmpty() ? QStringLiteral("link back; resume %1").arg(resumes)
                                                  : QStringLiteral("link back; resume %1 goes on in %2").arg(resumes).arg(file)));
        });
        QObject::connect(capture, &ResumingCapture::finished, app,
                         [owner, printLog, log, liveOutputs, capture, resume, resumeTimeout = *resumeTimeout](const SplitCaptureResult &result) {
            owner->shutdown();
            liveOutputs->finish();
            QString summary = result.text;
            if (result.end == SplitCaptureResult::End::GaveUp)
                summary += eventLine(nowEpochMicros(), QStringLiteral("gave up: the link stayed down %1 s").arg(resumeTimeout));
            const QString resumes = resume ? QStringLiteral("resumes: %1\n").arg(result.resumes) : QString();
            const SplitOutput *split = capture->output();
            if (!split || (!result.text.isEmpty() && split->files().written() == 0 && result.resumes == 0)) {
                printLog(summary + resumes);
                log->end(liveOutputs->printers(), streamExitStatus(result));
                return;
            }
            const SplitOutput &files = *split;
            summary += QStringLiteral("monitored bytes: %1\nsequence errors: %2\nfiles: %3\n")
                           .arg(files.savedMonitoredBytes())
                           .arg(files.sequenceErrors())
                           .arg(files.files().written())
                + resumes;
            if (files.lastByteCut())
                summary += DataTexts::lastByteCut() + u'\n';
            summary += endedByReaderNote(outputReaderLeft());
            if (!files.failure().isEmpty())
                summary += files.failure() + u'\n';
            printLog(summary);
            log->end(liveOutputs->printers(), splitExitStatus(result, files, resume));
        });
        // From inside the event loop: a port that fails at once must still end it.
        QTimer::singleShot(0, capture, &ResumingCapture::start);
        return RunEventLoop;
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

    auto *capture = &session.run<ConsoleCapture>();
    capture->setSettingsCheck(offeredOptionsCheck(*settings));
    QObject::connect(stopTimer, &QTimer::timeout, capture, &ConsoleCapture::requestStop);
    if (stoppable)
        QObject::connect(termination, &TerminationWatch::terminationRequested, capture, &ConsoleCapture::requestStop);
    addLiveOutputs(capture, [capture] { capture->requestStop(); });
    QObject::connect(capture, &ConsoleCapture::logText, app, printLog);
    QObject::connect(capture, &ConsoleCapture::stored, app, [liveOutputs, capture](const QByteArray &bytes, qint64 micros) {
        liveOutputs->feed(bytes, capture->arrivalTimes().startEpochMicros + micros);
    });
    if (live)
        QObject::connect(capture, &ConsoleCapture::progress, app,
                         [liveCount](qint32 CaptureCount) { liveCount->show(CaptureCount / 2); });
    QObject::connect(capture, &ConsoleCapture::streamStarted, app, startStopTimer);
    QObject::connect(capture, &ConsoleCapture::finished, app, [owner, output, printLog, log, liveOutputs](const ConsoleCaptureResult &result) {
        owner->shutdown();
        liveOutputs->finish();
        if (result.status == ConsoleCaptureResult::Status::LinkFailed) {
            printLog(result.text);
            log->end(liveOutputs->printers(), ExitLinkFailure);
            return;
        }
        const bool readerLeft = outputReaderLeft();
        const CaptureOutput written = writeCaptureOutput(result.data, output);
        printLog(QStringLiteral("monitored bytes: %1\nsequence errors: %2\n")
                     .arg(result.data.capture.DataByteCount())
                     .arg(written.SequenceErrorCount)
                 + endedByReaderNote(readerLeft) + written.message);
        log->end(liveOutputs->printers(), exitStatusOf(result, written));
    });
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, capture, [capture, chosen = *settings] { capture->start(chosen); });
    return RunEventLoop;
}

} // namespace ferrox::cli
