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
    CliArguments args(QStringLiteral("decode"), QStringLiteral("FILE.dat"), 1, {
        {QStringLiteral("decoder"), QStringLiteral("NAME"),
         QStringLiteral("lines (default), stx-etx[:xor|:sum|:crc16], fixed:N or modbus-rtu")},
        {QStringLiteral("gap"), QStringLiteral("MS"),
         QStringLiteral("idle time that ends a frame (default 3.5 characters at --monitor-speed)")},
        {QStringLiteral("monitor-speed"), QStringLiteral("N"), QStringLiteral("monitored line's speed in baud (default 9600)")},
        {QStringLiteral("data-width"), QStringLiteral("8|9"), QStringLiteral("monitored data width (default 8)")},
        {QStringLiteral("format"), QStringLiteral("text|csv|jsonl"), QStringLiteral("the form to print (default text)")},
        {QStringLiteral("only"), QStringLiteral("j1|j2|errors"), QStringLiteral("print only frames sent by J1, by J2, or that failed")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::unique_ptr<FrameDecoder> decoder = makeDecoder(args.value(QStringLiteral("decoder"), QStringLiteral("lines")));
    if (!decoder)
        return args.usageError(QStringLiteral("--decoder takes ") + decoderNames().join(QStringLiteral(", ")));
    FramerOptions options;
    // In milliseconds, decimals allowed; absent, the framer's own.
    if (args.isSet(QStringLiteral("gap"))) {
        const std::optional<double> gapMs = args.decimal(QStringLiteral("gap"), 0, 60000, 0);
        if (!gapMs)
            return ExitUsage;
        options.gapMicros = qint64(*gapMs * 1000 + 0.5);
    }
    const std::optional<int> baud = args.number(QStringLiteral("monitor-speed"), 50, 4000000, 9600);
    if (!baud)
        return ExitUsage;
    options.monitoredBaud = *baud;
    const QString width = args.value(QStringLiteral("data-width"), QStringLiteral("8"));
    if (width != QLatin1String("8") && width != QLatin1String("9"))
        return args.usageError(QStringLiteral("--data-width takes 8 or 9"));
    options.bitsPerCharacter = width == QLatin1String("9") ? 11 : 10;
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
    const FrameList frames = buildFrames(assembleMonitoredBytes(*capture), times, *decoder, options);
    if (!writeOut(formatFrames(frames, *format, filter)))
        return stoppedByOutput();
    for (const QString &note : frames.notes())
        printError(note + QLatin1Char('\n'));
    return frames.errorOffset >= 0 ? ExitRejected : ExitSuccess;
}

} // namespace ferrox::cli
