// ferrox-cli render: the text the program writes to "rs_text.rsm" for a
// data file, to standard output or a file.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "monitoroptions.h"

#include "data/cp932.h"
#include "data/datafiles.h"
#include "data/renderer.h"
#include "data/texts.h"
#include "settings/settingsschema.h"

namespace ferrox::cli {

int renderCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("render"), QStringLiteral("FILE.dat"), 1, QList<CliOption>{
        {QStringLiteral("mode"), QStringLiteral("1-5"), QStringLiteral("display mode (default %1)").arg(firstRunSettings().displayMode)},
        {QStringLiteral("name"), QStringLiteral("TEXT"), QStringLiteral("data name in the header (default FILE.dat)")},
        {QStringLiteral("port"), QStringLiteral("TEXT"), QStringLiteral("link port (default \"%1\")").arg(settingkey::port().defaultText)},
        {QStringLiteral("pc-speed"), QStringLiteral("TEXT"), QStringLiteral("link speed (default \"%1\")").arg(settingkey::linkSpeed().defaultText)},
        {QStringLiteral("monitor-speed"), QStringLiteral("TEXT"), QStringLiteral("monitor speed (default \"%1\")").arg(settingkey::monitorSpeed().defaultText)},
        {QStringLiteral("direction"), QStringLiteral("TEXT"), QStringLiteral("monitor direction (default \"%1\")").arg(settingkey::direction().defaultText)},
        {QStringLiteral("data-width"), QStringLiteral("8|9"),
         QStringLiteral("monitored data width in the header (default %1)").arg(dataWidthValue(firstRunSettings().dataWidth))},
        {QStringLiteral("o"), QStringLiteral("OUT"), QStringLiteral("write to OUT (default -, standard output)")},
    } + CliArguments::encodingOptions());
    if (!args.parse(arguments))
        return args.exitStatus();
    const QString output = args.value(QStringLiteral("o"), QStringLiteral("-"));
    const std::optional<bool> utf8 = args.utf8Chosen(output == QLatin1String("-") && outputIsTerminal());
    if (!utf8)
        return ExitUsage;
    const std::optional<int> mode = args.number(QStringLiteral("mode"), 1, DisplayModeCount, firstRunSettings().displayMode);
    MonitorSettings width;
    if (!mode || !readDataWidth(args, width))
        return ExitUsage;

    const QString path = args.positional().constFirst();
    if (const int refused = refuseOverwritingInput(args, output, path))
        return refused;
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;

    ReportHeaderSettings header;
    header.dataName = args.value(QStringLiteral("name"), path);
    // The header's settings lines default to a first run's settings panel.
    header.port = args.value(QStringLiteral("port"), settingkey::port().defaultText);
    header.pcSpeed = args.value(QStringLiteral("pc-speed"), settingkey::linkSpeed().defaultText);
    header.monitorSpeed = args.value(QStringLiteral("monitor-speed"), settingkey::monitorSpeed().defaultText);
    header.direction = args.value(QStringLiteral("direction"), settingkey::direction().defaultText);
    header.dataOnly = width.dataWidth == DataWidth::DataOnly;

    // Code page 932 to standard output goes out as it is written. UTF-8
    // is converted whole, and a file is replaced whole, never half-written.
    const bool inPieces = !*utf8 && output == QLatin1String("-");
    const TextPieceWriter toStandardOutput = [](QByteArrayView piece) { return writeOut(piece); };
    const RenderResult result = *renderMonitorData(*mode, *capture, header, {}, ByteMapRequest::None,
                                                   inPieces ? toStandardOutput : TextPieceWriter());
    if (inPieces ? !result.piecesWritten
                 : !writeOutput(output, *utf8 ? renderingAsUtf8(*mode, result.text) : result.text).ok)
        return stoppedByOutput();

    printError(QStringLiteral("receive errors: %1\n").arg(result.ReceiveErrorCount));
    if (result.failed) {
        printError(DataTexts::renderError() + QLatin1Char('\n'));
        return ExitRejected;
    }
    return ExitSuccess;
}

} // namespace ferrox::cli
