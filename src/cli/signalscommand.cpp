// ferrox-cli signals: the connection check, then the monitored line's
// control signals sampled as the window samples them, one sample every
// 333 ms: each sample's readout line on standard output, status texts on
// standard error.
#include "clioutput.h"
#include "commands.h"
#include "jsonrecords.h"
#include "linkoptions.h"

#include "link/consolecheck.h"
#include "link/linkowner.h"
#include "platform/statusreport.h"
#include "platform/terminationwatch.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"
#include "signals/texts.h"

#include <QCoreApplication>
#include <QTimer>

#include <limits>

namespace ferrox::cli {

namespace {

// The sampling's status line, for a terminal.
class ErrorStatus : public StatusPanel
{
public:
    void setPanelText(const QString &text) override
    {
        if (!text.isEmpty())
            printError(text + u'\n');
    }
    void setProgressVisible(bool) override {}
    void setProgressValue(int) override {}
};

// The readout line as the window shows it, ended as a terminal's line.
QByteArray readoutOf(const SignalSampler &sampler)
{
    QString line = sampler.readoutLine();
    line.chop(2); // CR LF
    return (line + u'\n').toUtf8();
}

// The sample for programs: each signal by its name, true when active.
QByteArray sampleRecord(const SignalSampler &sampler)
{
    const QStringList names = SignalTexts::names();
    QList<std::pair<QByteArray, QByteArray>> fields;
    for (int i = 0; i < SignalSampler::LampCount; ++i)
        fields.append({names.at(i).toLatin1(), sampler.lampTag(i) == QLatin1String("1") ? "true" : "false"});
    return jsonRecordNow(fields);
}

} // namespace

int signalsCommand(const QStringList &arguments)
{
    QList<CliOption> options = linkOptions();
    options << CliOption{QStringLiteral("count"), QStringLiteral("N"),
                         QStringLiteral("samples to take (default: until interrupted)")}
            << resultFormatOption();
    CliArguments args(QStringLiteral("signals"), linkArgument(), 1, options, true);
    args.setNotes(QStringLiteral("Each readout line names the eight signals, each with %1 when it is active, %2 when not;\n"
                                 "a JSON object names them with true when active.\n")
                      .arg(SignalTexts::activeMark(), SignalTexts::inactiveMark()));
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<MonitorSettings> link = readLinkOptions(args);
    if (!link)
        return ExitUsage;
    const std::optional<int> count = args.number(QStringLiteral("count"), 1, std::numeric_limits<int>::max(), 0);
    const std::optional<bool> json = readJsonChosen(args);
    if (!count || !json)
        return ExitUsage;

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    LinkSession &session = openLink(link->port);
    LinkOwner *owner = &session.owner();
    static ErrorStatus status;
    // Nothing else runs here: the lamps are never greyed.
    static const MonitorSession idle;
    auto *sampler = &session.run<SignalSampler>(idle, status);
    const auto finish = [owner, sampler](int exitStatus) {
        sampler->setSamplingEnabled(false);
        owner->shutdown();
        endEventLoop(exitStatus);
    };

    auto taken = std::make_shared<int>(0);
    QObject::connect(sampler, &SignalSampler::sampled, app, [sampler, finish, taken, count, json = *json] {
        if (!writeOut(json ? sampleRecord(*sampler) : readoutOf(*sampler))) {
            finish(stoppedByOutput());
            return;
        }
        if (++*taken >= *count && *count > 0)
            finish(ExitSuccess);
    });
    QObject::connect(sampler, &SignalSampler::stoppedOnError, app, [finish] { finish(ExitLinkFailure); });

    auto *termination = new TerminationWatch(app);
    QString watchError;
    // Stopped before its first sample, the command has nothing to show for
    // it (the check may not even have ended): not a success.
    if (termination->install(watchError))
        QObject::connect(termination, &TerminationWatch::terminationRequested, app, [finish, taken] {
            if (*taken == 0)
                printError(QStringLiteral("ferrox-cli signals: interrupted before the first sample\n"));
            finish(*taken > 0 ? ExitSuccess : ExitLinkFailure);
        });
    else if (*count == 0)
        printError(QStringLiteral("ferrox-cli signals: Ctrl+C cannot stop the sampling (%1); use --count\n").arg(watchError));

    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, owner, [owner, link, sampler, finish] {
        runConsoleCheck(*owner, checkRequestOf(*link), link->port, [sampler, finish](const ConsoleCheckResult &result) {
            printError(result.text);
            if (!result.verified) {
                finish(ExitLinkFailure);
                return;
            }
            sampler->setSamplingEnabled(true);
        });
    });
    return RunEventLoop;
}

} // namespace ferrox::cli
