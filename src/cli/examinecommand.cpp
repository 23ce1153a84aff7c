// ferrox-cli examine: the tag-sequence check a capture passes before it is
// rendered. Exit status 4 when the program would reject the data.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/examine.h"
#include "data/texts.h"

namespace ferrox::cli {

int examineCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("examine"), QStringLiteral("FILE.dat"), 1, {});
    if (!args.parse(arguments))
        return args.exitStatus();

    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadDataFile(args.positional().constFirst(), status);
    if (!capture)
        return status;

    const qint32 errors = ExamineMonitorData(*capture);
    printOut(QStringLiteral("sequence errors: %1\n").arg(errors));
    if (capture->CaptureEnd() == 0) {
        printError(DataTexts::nothingReceived() + QLatin1Char('\n'));
        return ExitRejected;
    }
    return errors == 0 ? ExitSuccess : ExitRejected;
}

} // namespace ferrox::cli
