// ferrox-cli export: the monitored bytes of a data file in a form other
// tools read: pcap for Wireshark and tshark, CSV, JSON lines. Data with
// tag-sequence errors is exported as far as it is sound, with a warning
// and exit status 4.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/datafiles.h"
#include "timeline/exportformats.h"
#include "data/sidecar.h"
#include "timeline/texts.h"

#include <QFileInfo>

namespace ferrox::cli {

namespace {

// True when `out` names the data file or its sidecar: exporting over them
// would destroy what is exported.
bool overwritesInput(const QString &out, const QString &dataPath)
{
    const QFileInfo target(out);
    for (const QString &input : {dataPath, sidecarPath(dataPath)}) {
        const QFileInfo source(input);
        if (source.exists() && target.exists() ? source.canonicalFilePath() == target.canonicalFilePath()
                                               : source.absoluteFilePath() == target.absoluteFilePath())
            return true;
    }
    return false;
}

} // namespace

int exportCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("export"), QStringLiteral("FILE.dat"), 1, {
        {QStringLiteral("format"), QStringLiteral("pcap|csv|jsonl"), QStringLiteral("the form to write")},
        {QStringLiteral("o"), QStringLiteral("OUT"), QStringLiteral("the file to write (- for standard output)")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<ExportFormat> format = exportFormatNamed(args.value(QStringLiteral("format"), QString()));
    if (!format)
        return args.usageError(QStringLiteral("--format takes pcap, csv or jsonl"));
    const QString out = args.value(QStringLiteral("o"), QString());
    if (out.isEmpty())
        return args.usageError(QStringLiteral("-o OUT is required"));
    const QString path = args.positional().constFirst();
    if (out != QLatin1String("-") && overwritesInput(out, path))
        return args.usageError(QStringLiteral("-o names the data file or its arrival times"));

    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadDataFile(path, status);
    if (!capture)
        return status;
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const MonitoredBytes bytes = assembleMonitoredBytes(*capture);
    const QByteArray exported = exportBytes(bytes, times, *format);
    if (const FileWriteResult written = writeOutput(out, exported); !written.ok) {
        printError(written.message + QLatin1Char('\n'));
        return ExitIoFailure;
    }
    if (bytes.errorOffset >= 0) {
        printError(TimelineTexts::timelineCutAtError(bytes.errorOffset) + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
