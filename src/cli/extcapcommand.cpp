// ferrox-cli extcap: the board as a capture interface of Wireshark and
// tshark (their "extcap" calls). Wireshark runs the program through a link
// named ferrox-extcap in its extcap folder, asks it for its interfaces,
// their link type and their options, then runs a capture that writes pcap
// records into a FIFO until Wireshark stops it with SIGTERM.
//
// Wireshark shows anything the program writes to standard error as an
// error, so a capture writes there only when it fails (or when Wireshark
// lags and records are skipped); its progress goes to the file of
// --debug-file, or to standard error with --debug alone.
//
// The interfaces are the serial devices found on the machine
// ("ferrox-ttyUSB0") and the numbered ports set in the environment
// (FERROX_COM1 .. FERROX_COM20 name "ferrox-COM1" ..).
#include "clioutput.h"
#include "commands.h"
#include "framingoptions.h"
#include "linkoptions.h"
#include "liveprinter.h"
#include "monitoroptions.h"

#include "capture/consolecapture.h"
#include "capture/resumingcapture.h"
#include "link/linkowner.h"
#include "platform/qtserialport.h"
#include "platform/serialdevices.h"
#include "platform/terminationwatch.h"
#include "settings/settingsschema.h"
#include "timeline/exportformats.h"
#include "version/programinfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace ferrox::cli {

namespace {

const QString interfacePrefix = QStringLiteral("ferrox-");
constexpr int numberedPorts = 20;

struct Interface
{
    QString value;  // the interface's name: "ferrox-ttyUSB0"
    QString device; // "/dev/ttyUSB0"
};

QList<Interface> interfaces()
{
    QList<Interface> found;
    for (const SerialDevice &device : findSerialDevices())
        found.append({interfacePrefix + QFileInfo(device.path).fileName(), device.path});
    for (int n = 1; n <= numberedPorts; ++n) {
        const QString path = qEnvironmentVariable(QStringLiteral("FERROX_COM%1").arg(n).toLatin1().constData());
        if (!path.isEmpty())
            found.append({interfacePrefix + QStringLiteral("COM%1").arg(n), path});
    }
    return found;
}

// The device an interface stands for; empty for an interface not ours.
QString deviceOf(const QString &interfaceName)
{
    for (const Interface &candidate : interfaces())
        if (candidate.value == interfaceName)
            return candidate.device;
    // One listed earlier (an adapter since unplugged fails at the port).
    if (!interfaceName.startsWith(interfacePrefix) || interfaceName.contains(u'/'))
        return {};
    const QString name = interfaceName.mid(interfacePrefix.size());
    bool numbered = false;
    const int number = name.startsWith(QLatin1String("COM")) ? name.mid(3).toInt(&numbered) : 0;
    return numbered ? devicePathForPort(number, nullptr) : QStringLiteral("/dev/") + name;
}

QString interfaceList()
{
    QString text = QStringLiteral("extcap {version=%1}{display=ferrox line monitor}\n").arg(versionNumberText());
    for (const Interface &found : interfaces())
        text += QStringLiteral("interface {value=%1}{display=ferrox line monitor (%2)}\n").arg(found.value, found.device);
    return text;
}

QString linkTypes()
{
    return QStringLiteral("dlt {number=%1}{name=RTAC_SERIAL}{display=RS-232 line monitored by ferrox}\n")
        .arg(pcapLinkTypeSerial);
}

// The values of selector `number`; the first is the default.
QString selectorValues(int number, const QStringList &values)
{
    QString text;
    bool first = true;
    for (const QString &value : values) {
        text += QStringLiteral("value {arg=%1}{value=%2}{display=%2}{default=%3}\n")
                    .arg(number)
                    .arg(value, first ? QStringLiteral("true") : QStringLiteral("false"));
        first = false;
    }
    return text;
}

// One selector argument with its values. One that Wireshark reloads asks
// again for its values (--extcap-reload-option) with the choices made so far.
QString selector(int number, const char *call, const char *display, const QStringList &values, bool reload = false)
{
    return QStringLiteral("arg {number=%1}{call=--%2}{display=%3}{type=selector}%4\n")
               .arg(number)
               .arg(QLatin1String(call), QLatin1String(display),
                    reload ? QStringLiteral("{reload=true}") : QString())
        + selectorValues(number, values);
}

// A speed list as selector values, the default first when it is listed.
QStringList speedValues(const QList<int> &choices, int defaultChoice)
{
    QStringList values;
    for (int choice : choices) {
        if (choice == defaultChoice)
            values.prepend(QString::number(choice));
        else
            values << QString::number(choice);
    }
    return values;
}

constexpr int monitorSpeedArgument = 2;

// The decoders a selector can offer: those with nothing to fill in.
QStringList recordDecoderChoices()
{
    QStringList names = decoderNames();
    names.removeIf([](const QString &name) { return name.endsWith(QLatin1String(":N")); });
    return names;
}

// The monitored speeds the link speed allows: before the board is known,
// what some firmware offers over it.
QStringList monitorSpeedValues(int linkSpeed)
{
    return speedValues(monitorSpeedsOverLink(linkSpeed), *firstRunSettings().monitoredSpeed);
}

QString options(const QString &device, int linkSpeed)
{
    const MonitorSettings defaults = firstRunSettings();
    QStringList directions;
    for (MonitorDirection direction : directionChoices())
        directions << directionValue(direction);
    return QStringLiteral("arg {number=0}{call=--device}{display=Port}{type=string}{default=%1}"
                          "{tooltip=The link port's device}\n")
               .arg(device)
        + selector(1, "pc-speed", "Link speed", speedValues(linkSpeedChoices(), linkSpeed))
        + selector(monitorSpeedArgument, "monitor-speed", "Monitored speed", monitorSpeedValues(linkSpeed), true)
        + selector(3, "direction", "Direction", directions)
        + selector(4, "data-width", "Data width",
                   {dataWidthValue(defaults.dataWidth), dataWidthValue(DataWidth::DataAndParity)})
        + QStringLiteral("arg {number=5}{call=--resume}{display=Resume after a lost link}{type=boolflag}{default=false}"
                         "{tooltip=Wait for the device to come back and go on capturing}\n")
        + selector(6, "decoder", "Protocol", QStringList{QStringLiteral("none")} + recordDecoderChoices());
}

// Wireshark's own arguments, which its every call may carry.
QList<CliOption> wiresharkOptions()
{
    QList<CliOption> list;
    for (const char *flag : {"extcap-interfaces", "extcap-dlts", "extcap-config", "capture", "debug", "resume"})
        list.append({QLatin1String(flag), QString(), QStringLiteral("a call of Wireshark's")});
    for (const char *valued : {"extcap-interface", "fifo", "extcap-version", "extcap-capture-filter", "extcap-control-in",
                               "extcap-control-out", "debug-file", "extcap-reload-option"})
        list.append({QLatin1String(valued), QStringLiteral("VALUE"), QStringLiteral("a call of Wireshark's")});
    return list;
}

// Where the capture's progress goes: the --debug-file, standard error
// with --debug alone, else nowhere.
class ProgressLog
{
public:
    explicit ProgressLog(const CliArguments &args)
        : m_file(args.value(QStringLiteral("debug-file"), QString())), m_toStandardError(args.isSet(QStringLiteral("debug")))
    {
        if (!m_file.fileName().isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            printError(QStringLiteral("ferrox-cli extcap: %1: %2\n").arg(m_file.fileName(), m_file.errorString()));
            m_file.setFileName(QString());
        }
    }

    void progress(const QString &text)
    {
        if (m_file.isOpen()) {
            m_file.write(text.toUtf8());
            m_file.flush();
        } else if (m_toStandardError)
            printError(text);
    }
    // A failure goes to standard error in any case, and to the file.
    void failure(const QString &text)
    {
        if (m_file.isOpen())
            progress(text);
        printError(text);
    }
    // The same for a text progress() was given already.
    void failureLogged(const QString &text)
    {
        if (m_file.isOpen() || !m_toStandardError)
            printError(text.endsWith(u'\n') ? text : text + u'\n');
    }

private:
    QFile m_file;
    bool m_toStandardError;
};

int capture(CliArguments &args, const QString &fifo)
{
    std::optional<MonitorSettings> settings = readLinkOptions(args);
    if (!settings || !readMonitoredLine(args, *settings) || !readDataWidth(args, *settings))
        return ExitUsage;
    const std::optional<std::shared_ptr<const FrameDecoder>> recordDecoder = readRecordDecoder(args, true);
    if (!recordDecoder)
        return ExitUsage;
    // Wireshark opens the FIFO's reading end as it starts the capture.
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        printError(QStringLiteral("ferrox-cli extcap: %1: %2\n").arg(fifo, QString::fromLocal8Bit(std::strerror(errno))));
        return ExitIoFailure;
    }

    // All live until the program ends.
    QObject *app = QCoreApplication::instance();
    auto log = std::make_shared<ProgressLog>(args);
    LinkSession &session = openLink(settings->port);
    LinkOwner *owner = &session.owner();
    auto *printer = new LivePrinter(fd, pcapRecordRule(*settings), *recordDecoder, app);
    auto decoder = std::make_shared<LiveByteDecoder>(LiveByteDecoder::Rule::Capture);
    auto *termination = new TerminationWatch(app);
    QString watchError;
    const bool stoppable = termination->install(watchError);
    // Lost records are told, though the capture goes on: what Wireshark
    // shows is then not the whole line.
    QObject::connect(&printer->output(), &LiveOutput::fellBehind, app, [log] {
        log->failure(QStringLiteral("ferrox-cli extcap: Wireshark does not read fast enough; records are skipped until it catches up\n"));
    });

    if (args.isSet(QStringLiteral("resume"))) {
        // The capture's own engine, without files: the records go on after a lost link.
        SplitCaptureRequest request;
        request.settings = *settings;
        request.settingsCheck = offeredOptionsCheck(*settings);
        request.resume = true;
        auto *capture = &session.run<ResumingCapture>(request);
        QObject::connect(capture, &ResumingCapture::stored, printer, [printer, decoder](const QByteArray &bytes, qint64 epochMicros) {
            printer->feed(decoder->decode(bytes), epochMicros);
        });
        QObject::connect(capture, &ResumingCapture::resumed, app, [log, decoder] {
            *decoder = LiveByteDecoder(LiveByteDecoder::Rule::Capture);
            log->progress(QStringLiteral("link back\n"));
        });
        QObject::connect(capture, &ResumingCapture::linkLost, app, [log] { log->progress(QStringLiteral("link lost; waiting\n")); });
        QObject::connect(capture, &ResumingCapture::logText, app, [log](const QString &text) { log->progress(text); });
        if (stoppable)
            QObject::connect(termination, &TerminationWatch::terminationRequested, capture, &ResumingCapture::requestStop);
        watchLiveOutput(printer->output(), fifo, [capture] { capture->requestStop(); });
        QObject::connect(capture, &ResumingCapture::finished, app, [owner, printer, log](const SplitCaptureResult &result) {
            owner->shutdown();
            if (!result.text.isEmpty())
                log->failure(result.text);
            printer->finish();
            const bool ended = result.end == SplitCaptureResult::End::Stopped || result.end == SplitCaptureResult::End::StreamEnded;
            endAfterLiveOutputs({printer}, ended ? ExitSuccess : ExitLinkFailure);
        });
        QTimer::singleShot(0, capture, &ResumingCapture::start);
        return RunEventLoop;
    }

    auto *capture = &session.run<ConsoleCapture>();
    capture->setSettingsCheck(offeredOptionsCheck(*settings));
    // Wireshark captures for as long as the user likes: nothing is kept.
    capture->setKeepsStream(false);
    QObject::connect(capture, &ConsoleCapture::stored, printer, [capture, printer, decoder](const QByteArray &bytes, qint64 micros) {
        printer->feed(decoder->decode(bytes), capture->arrivalTimes().startEpochMicros + micros);
    });
    if (stoppable)
        QObject::connect(termination, &TerminationWatch::terminationRequested, capture, &ConsoleCapture::requestStop);
    watchLiveOutput(printer->output(), fifo, [capture] { capture->requestStop(); });
    // The last text of the log says how the stream ended.
    auto lastText = std::make_shared<QString>();
    QObject::connect(capture, &ConsoleCapture::logText, app, [log, lastText](const QString &text) {
        *lastText = text;
        log->progress(text);
    });
    QObject::connect(capture, &ConsoleCapture::finished, app, [owner, printer, log, lastText](const ConsoleCaptureResult &result) {
        owner->shutdown();
        if (result.status == ConsoleCaptureResult::Status::LinkFailed)
            log->failure(result.text);
        else if (result.ending.exit == CaptureExit::PortLost)
            log->failureLogged(*lastText);
        const bool failed = result.status == ConsoleCaptureResult::Status::LinkFailed
            || result.ending.exit == CaptureExit::PortLost;
        printer->finish();
        endAfterLiveOutputs({printer}, failed ? ExitLinkFailure : ExitSuccess);
    });

    QTimer::singleShot(0, capture, [capture, chosen = *settings] { capture->start(chosen); });
    return RunEventLoop;
}

CliArguments extcapArguments()
{
    return CliArguments(QStringLiteral("extcap"), QString(), 0,
                        linkOptions() + monitoredLineOptions() + QList<CliOption>{dataWidthOption(), recordDecoderOption()}
                            + wiresharkOptions());
}

} // namespace

int extcapCommand(const QStringList &arguments)
{
    CliArguments args = extcapArguments();
    if (!args.parse(arguments))
        return args.exitStatus();
    if (args.isSet(QStringLiteral("extcap-interfaces"))) {
        printOut(interfaceList());
        return ExitSuccess;
    }
    const QString interfaceName = args.value(QStringLiteral("extcap-interface"), QString());
    const QString device = deviceOf(interfaceName);
    if (device.isEmpty())
        return args.usageError(QStringLiteral("--extcap-interface takes one of the interfaces --extcap-interfaces lists"));
    if (args.isSet(QStringLiteral("extcap-dlts"))) {
        printOut(linkTypes());
        return ExitSuccess;
    }
    if (args.isSet(QStringLiteral("extcap-config"))) {
        const std::optional<int> linkSpeed = choiceNamed(
            args.value(QStringLiteral("pc-speed"), QString::number(*firstRunSettings().linkSpeed)), linkSpeedChoices());
        if (!linkSpeed)
            return args.usageError(QStringLiteral("--pc-speed takes ") + choicesText(linkSpeedChoices()));
        if (args.value(QStringLiteral("extcap-reload-option"), QString()) == QLatin1String("monitor-speed"))
            printOut(selectorValues(monitorSpeedArgument, monitorSpeedValues(*linkSpeed)));
        else
            printOut(options(device, *linkSpeed));
        return ExitSuccess;
    }
    const QString fifo = args.value(QStringLiteral("fifo"), QString());
    if (!args.isSet(QStringLiteral("capture")) || fifo.isEmpty())
        return args.usageError(QStringLiteral("one of --extcap-interfaces, --extcap-dlts, --extcap-config or --capture --fifo F"));
    if (args.isSet(QStringLiteral("device")))
        return capture(args, fifo);
    // Without the port option, the interface's own device.
    CliArguments withDevice = extcapArguments();
    if (!withDevice.parse(arguments + QStringList{QStringLiteral("--device"), device}))
        return withDevice.exitStatus();
    return capture(withDevice, fifo);
}

} // namespace ferrox::cli
