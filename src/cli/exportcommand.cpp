// ferrox-cli export: the monitored bytes of a data file in a form other
// tools read: pcap for Wireshark and tshark (one record per frame, cut as
// decode cuts them, so that a dissector reads one message a record), CSV
// and JSON lines (a row per byte). Data with tag-sequence errors is
// exported as far as it is sound, with a warning and exit status 4. With
// --series a split capture's files are written in turn as one export on
// one time axis, file by file, into a file replaced only when complete.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "framingoptions.h"
#include "seriesinput.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
#include "data/texts.h"
#include "frames/framepcap.h"
#include "frames/seriesframes.h"
#include "timeline/exportformats.h"
#include "timeline/texts.h"

namespace ferrox::cli {

namespace {

int exportSeries(const SeriesFiles &files, const Framing &framing, ExportFormat format, const QString &out)
{
    PieceOutput output;
    if (!output.open(out) || !output.write(format == ExportFormat::Pcap ? pcapFileHeader() : exportRowsHead(format)))
        return stoppedByOutput();
    SeriesFramer framer(*framing.decoder, framing.options);
    const int status = walkSeries(files, [](const SeriesGap &gap) {
        if (gap.kind == SeriesGap::Kind::LinkLost)
            printErrorLine(seriesGapText(gap)); // the records' times show it; people read it here
        return true;
    }, [&](const SeriesPiece &piece) {
        std::optional<ArrivalTimes> times = piece.times;
        if (format == ExportFormat::Pcap && times && !timesFitPcap(*times)) {
            printErrorLine(DataTexts::sidecarIgnored(sidecarPath(piece.path), TimelineTexts::timesOutsidePcap()));
            times.reset();
        }
        QByteArray bytes;
        if (format == ExportFormat::Pcap)
            appendPcapFrames(bytes, framer.framesOf(piece, times).frames, times);
        else
            bytes = exportRows(piece.bytes, times, format, piece.firstByteIndex);
        return output.write(bytes);
    });
    return output.commit() ? status : stoppedByOutput();
}

} // namespace

int exportCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("export"), QStringLiteral("FILE.dat"), 1, QList<CliOption>{
        {QStringLiteral("format"), QStringLiteral("pcap|csv|jsonl"), QStringLiteral("the form to write")},
        {QStringLiteral("o"), QStringLiteral("OUT"), QStringLiteral("the file to write (- for standard output)")},
    } + framingOptions(QStringLiteral("pcap: also end records where this protocol's message ends, as decode does "
                                      "(default: at changes of direction and idle gaps only)")) << seriesOption());
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
    int status = ExitSuccess;
    if (args.isSet(QStringLiteral("series"))) {
        const std::optional<SeriesFiles> files = findSeriesFor(path, status);
        if (!files || refuseOverwritingSeries(args, out, *files, status))
            return status;
        return exportSeries(*files, *framing, *format, out);
    }
    if (const int refused = refuseOverwritingInput(args, out, path))
        return refused;

    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    hintSeries(path);
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
