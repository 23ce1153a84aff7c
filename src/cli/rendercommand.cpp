// ferrox-cli render: the text the program writes to "rs_text.rsm" for a
// data file, to standard output or a file.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/cp932.h"
#include "data/datafiles.h"
#include "data/renderer.h"
#include "data/texts.h"

namespace ferrox::cli {

int renderCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("render"), QStringLiteral("FILE.dat"), 1, {
        {QStringLiteral("mode"), QStringLiteral("1-5"), QStringLiteral("display mode (default 1)")},
        {QStringLiteral("name"), QStringLiteral("TEXT"), QStringLiteral("data name in the header (default FILE.dat)")},
        {QStringLiteral("port"), QStringLiteral("TEXT"), QStringLiteral("link port (default \"COM1\")")},
        {QStringLiteral("pc-speed"), QStringLiteral("TEXT"), QStringLiteral("link speed (default \" 57600\")")},
        {QStringLiteral("monitor-speed"), QStringLiteral("TEXT"), QStringLiteral("monitor speed (default \"  9600\")")},
        {QStringLiteral("direction"), QStringLiteral("TEXT"), QStringLiteral("monitor direction (default \"双方向\")")},
        {QStringLiteral("data-width"), QStringLiteral("8|9"), QStringLiteral("monitored data width (default 8)")},
        {QStringLiteral("utf8"), QString(), QStringLiteral("write UTF-8 instead of code page 932")},
        {QStringLiteral("o"), QStringLiteral("OUT"), QStringLiteral("write to OUT instead of standard output")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<int> mode = args.number(QStringLiteral("mode"), 1, 5, 1);
    if (!mode)
        return ExitUsage;
    const QString width = args.value(QStringLiteral("data-width"), QStringLiteral("8"));
    if (width != QLatin1String("8") && width != QLatin1String("9"))
        return args.usageError(QStringLiteral("--data-width takes 8 or 9"));

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadDataFile(path, status);
    if (!capture)
        return status;
    if (capture->CaptureEnd() == 0) {
        printError(DataTexts::noMonitorData() + QLatin1Char('\n'));
        return ExitRejected;
    }

    ReportHeaderSettings header;
    header.dataName = args.value(QStringLiteral("name"), path);
    header.port = args.value(QStringLiteral("port"), QStringLiteral("COM1"));
    header.pcSpeed = args.value(QStringLiteral("pc-speed"), QStringLiteral(" 57600"));
    header.monitorSpeed = args.value(QStringLiteral("monitor-speed"), QStringLiteral("  9600"));
    header.direction = args.value(QStringLiteral("direction"), QStringLiteral("双方向"));
    header.dataOnly = width == QLatin1String("8");

    const RenderResult result = *renderMonitorData(*mode, *capture, header);
    const QByteArray text = args.isSet(QStringLiteral("utf8")) ? decodeCp932(result.text).toUtf8() : result.text;
    if (args.isSet(QStringLiteral("o"))) {
        const FileWriteResult written = writeFileAtomically(args.value(QStringLiteral("o"), QString()), text);
        if (!written.ok) {
            printError(written.message + QLatin1Char('\n'));
            return ExitIoFailure;
        }
    } else if (!writeOut(text)) {
        printError(QStringLiteral("ferrox-cli render: standard output could not be written\n"));
        return ExitIoFailure;
    }

    printError(QStringLiteral("receive errors: %1\n").arg(result.ReceiveErrorCount));
    if (result.failed) {
        printError(DataTexts::renderError() + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
