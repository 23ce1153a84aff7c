// ferrox-cli export: the monitored bytes of a data file in a form other
// tools read: pcap for Wireshark and tshark (one record per frame, cut as
// decode cuts them, so that a dissector reads one message a record), CSV
// and JSON lines (a row per byte). Data with tag-sequence errors is
// exported as far as it is sound, with a warning and exit status 4.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "framingoptions.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
#include "data/texts.h"
#include "frames/framepcap.h"
#include "timeline/exportformats.h"
#include "timeline/texts.h"

namespace ferrox::cli {

int exportCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("export"), QStringLiteral("FILE.dat"), 1, QList<CliOption>{
        {QStringLiteral("format"), QStringLiteral("pcap|csv|jsonl"), QStringLiteral("the form to write")},
        {QStringLiteral("o"), QStringLiteral("OUT"), QStringLiteral("the file to write (- for standard output)")},
    } + framingOptions(QStringLiteral("pcap: also end records where this protocol's message ends, as decode does "
                                      "(default: at changes of direction and idle gaps only)")));
    args.setNotes(QStringLiteral("--decoder, --gap, --monitor-speed and --data-width cut the pcap records; "
                                 "csv and jsonl write a row per byte.\n"));
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<ExportFormat> format = exportFormatNamed(args.value(QStringLiteral("format"), QString()));
    if (!format)
        return args.usageError(QStringLiteral("--format takes pcap, csv or jsonl"));
    const std::optional<Framing> framing = readFraming(args, QString());
    if (!framing)
        return ExitUsage;
    if (*format != ExportFormat::Pcap) {
        for (const char *option : {"decoder", "gap", "monitor-speed", "data-width"}) {
            if (args.isSet(QLatin1String(option)))
                return args.usageError(QStringLiteral("--%1 cuts pcap records; csv and jsonl write a row per byte")
                                           .arg(QLatin1String(option)));
        }
    }
    const QString out = args.value(QStringLiteral("o"), QString());
    if (out.isEmpty())
        return args.usageError(QStringLiteral("-o OUT is required"));
    if (*format == ExportFormat::Pcap) {
        if (const int refused = refuseBinaryOnTerminal(args, out, QStringLiteral("pcap records")))
            return refused;
    }
    const QString path = args.positional().constFirst();
    if (const int refused = refuseOverwritingInput(args, out, path))
        return refused;

    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    if (*format == ExportFormat::Pcap && times && !timesFitPcap(*times)) {
        printError(DataTexts::sidecarIgnored(sidecarPath(path), TimelineTexts::timesOutsidePcap()) + u'\n');
        times.reset();
    }
    const MonitoredBytes bytes = assembleMonitoredBytes(*capture);
    const QByteArray exported = *format == ExportFormat::Pcap
        ? pcapOfFrames(buildFrames(bytes, times, *framing->decoder, framing->options).frames, times)
        : exportBytes(bytes, times, *format);
    if (!writeOutput(out, exported).ok)
        return stoppedByOutput();
    if (bytes.errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(bytes.errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
