// ferrox-cli decode: the frames of a data file, cut at idle gaps (from its
// arrival times) and changes of direction and read by a protocol decoder,
// one line, CSV row or JSON object per frame; --only picks them by side,
// failure, kind or response time. What the framing could not
// do (no times, a sequence error, times running backwards) is said on
// standard error; data with tag-sequence errors is decoded up to the first
// one, with exit status 4. With --series a split capture's files are read
// in turn as one capture (see SeriesFramer), written file by file; the
// text form names each file and the gaps between them.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"
#include "framingoptions.h"
#include "seriesinput.h"

#include "frames/frameformat.h"
#include "frames/seriesframes.h"
#include "timeline/texts.h"

#include <utility>

namespace ferrox::cli {

namespace {

int decodeSeries(const SeriesFiles &files, const Framing &framing, FrameFormat format, const FrameFilter &filter)
{
    SeriesFramer framer(*framing.decoder, framing.options);
    QString pending; // gap lines, in the text form only
    bool headWritten = false;
    return walkSeries(files, [&](const SeriesGap &gap) {
        if (format == FrameFormat::Text)
            pending += seriesGapText(gap) + u'\n';
        return true;
    }, [&](const SeriesPiece &piece) {
        const FrameList frames = framer.framesOf(piece);
        QByteArray out = headWritten ? QByteArray() : formatFramesHead(frames, format);
        headWritten = true;
        if (format == FrameFormat::Text)
            out += (std::exchange(pending, {}) + TimelineTexts::seriesFile(piece.path) + u'\n').toUtf8();
        out += formatFrameRows(frames, format, filter);
        for (const QString &note : SeriesFramer::newNotes(frames))
            printErrorLine(TimelineTexts::seriesFileNote(piece.path, note));
        return writeOut(out);
    });
}

} // namespace

int decodeCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("decode"), QStringLiteral("FILE.dat"), 1, framingOptions(
        QStringLiteral("lines (default), stx-etx[:xor|:sum|:crc16], fixed:N, modbus-rtu or modbus-ascii")) + QList<CliOption>{
        {QStringLiteral("format"), QStringLiteral("text|csv|jsonl"), QStringLiteral("the form to print (default text)")},
        {QStringLiteral("only"), QStringLiteral("WHAT"),
         QStringLiteral("print only frames sent by J1 or J2 (j1, j2), failed (errors), exception\n"
                        "                          responses (exceptions), of one kind (below), or responses slower\n"
                        "                          than MS milliseconds (slow:MS)")},
        seriesOption(),
    });
    args.setNotes(QStringLiteral(
        "Frames end at a change of direction, at an idle gap, and where the decoder finds a message's end.\n"
        "By default a silence ends a frame: a step between arrivals less the line time of the bytes that\n"
        "came after it, at least the gap plus the times' resolution (stated in the header); standard error\n"
        "says when the times are too coarse for the gap itself.\n"
        "modbus-rtu also cuts frames sent back to back where a complete request or response ends with a good\n"
        "CRC (a strict receiver would take them as one broken frame), and keeps a message whole whose CRC\n"
        "holds across a silence. modbus-ascii frames run from ':' to CR LF; a second's silence ends one.\n"
        "Each finding has a kind, in the kind column of csv and jsonl beside the problem in words:\n"
        "  crc        the check sequence (CRC, LRC, block check) differs\n"
        "  length     too short, cut, or too long for its function (modbus-ascii: no ':', CR LF or hex pairs)\n"
        "  count      a byte count that does not fit its quantity or its request\n"
        "  echo       the answer to a write differs from its request\n"
        "  range      a quantity or coil value outside the protocol's limits\n"
        "  broadcast  a broadcast (address 0) of a reading function, or an answer to a broadcast\n"
        "  unpaired   an answer from another server or function than the request's, or to no request\n"
        "  exception  an exception response: a valid frame (verdict OK), not a failure\n"));
    if (!args.parse(arguments))
        return args.exitStatus();
    const std::optional<Framing> framing = readFraming(args, QStringLiteral("lines"));
    if (!framing)
        return ExitUsage;
    const std::optional<FrameFormat> format = frameFormatNamed(args.value(QStringLiteral("format"), QStringLiteral("text")));
    if (!format)
        return args.usageError(QStringLiteral("--format takes text, csv or jsonl"));
    const QString only = args.value(QStringLiteral("only"), QString());
    const std::optional<FrameFilter> filter = only.isEmpty() ? std::optional(FrameFilter {}) : frameFilterNamed(only);
    if (!filter)
        return args.usageError(QStringLiteral("--only takes ") + frameFilterNames().join(QStringLiteral(", ")));

    const QString path = args.positional().constFirst();
    int status = ExitSuccess;
    if (args.isSet(QStringLiteral("series"))) {
        const std::optional<SeriesFiles> files = findSeriesFor(path, status);
        return files ? decodeSeries(*files, *framing, *format, *filter) : status;
    }
    const std::optional<CaptureBuffer> capture = loadMonitorData(path, status);
    if (!capture)
        return status;
    hintSeries(path);
    const std::optional<ArrivalTimes> times = loadArrivalTimes(path, *capture);
    const FrameList frames = buildFrames(assembleMonitoredBytes(*capture), times, *framing->decoder, framing->options);
    if (!writeOut(formatFrames(frames, *format, *filter)))
        return stoppedByOutput();
    for (const QString &note : frames.notes())
        printError(note + QLatin1Char('\n'));
    return frames.errorOffset >= 0 ? ExitRejected : ExitSuccess;
}

} // namespace ferrox::cli
