// ferrox-cli decode: the frames of a data file, cut at idle gaps (from its
// arrival times) and changes of direction and read by a protocol decoder,
// one line, CSV row or JSON object per frame. What the framing could not
// do (no times, a sequence error, times running backwards) is said on
// standard error; data with tag-sequence errors is decoded up to the first
// one, with exit status 4.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "framingoptions.h"

#include "frames/frameformat.h"

namespace ferrox::cli {

namespace {

bool parseOnly(const QString &text, FrameFilter &filter)
{
    if (text == QLatin1String("j1"))
        filter.direction = Direction::J1;
    else if (text == QLatin1String("j2"))
        filter.direction = Direction::J2;
    else if (text == QLatin1String("errors"))
        filter.failedOnly = true;
    else
        return text.isEmpty();
    return true;
}

} // namespace

int decodeCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("decode"), QStringLiteral("FILE.dat"), 1, framingOptions(
        QStringLiteral("lines (default), stx-etx[:xor|:sum|:crc16], fixed:N or modbus-rtu")) + QList<CliOption>{
        {QStringLiteral("format"), QStringLiteral("text|csv|jsonl"), QStringLiteral("the form to print (default text)")},
        {QStringLiteral("only"), QStringLiteral("j1|j2|errors"), QStringLiteral("print only frames sent by J1, by J2, or that failed")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<Framing> framing = readFraming(args, QStringLiteral("lines"));
    if (!framing)
        return ExitUsage;
    const std::optional<FrameFormat> format = frameFormatNamed(args.value(QStringLiteral("format"), QStringLiteral("text")));
    if (!format)
        return args.usageError(QStringLiteral("--format takes text, csv or jsonl"));
    FrameFilter filter;
    if (!parseOnly(args.value(QStringLiteral("only"), QString()), filter))
        return args.usageError(QStringLiteral("--only takes j1, j2 or errors"));

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const FrameList frames = buildFrames(assembleMonitoredBytes(*capture), times, *framing->decoder, framing->options);
    if (!writeOut(formatFrames(frames, *format, filter)))
        return stoppedByOutput();
    for (const QString &note : frames.notes())
        printError(note + QLatin1Char('\n'));
    return frames.errorOffset >= 0 ? ExitRejected : ExitSuccess;
}

} // namespace ferrox::cli
