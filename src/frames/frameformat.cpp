#include "frameformat.h"

#include "framecharacters.h"
#include "texts.h"

#include "timeline/textfields.h"
#include "timeline/texts.h"

namespace ferrox {

namespace {

QByteArray numberOrEmpty(const std::optional<qint64> &value, const QByteArray &empty)
{
    return value ? QByteArray::number(*value) : empty;
}

QByteArray csvRow(const FrameList &list, qsizetype index)
{
    const Frame &frame = list.frames.at(index);
    const QByteArray below = !frame.responseMicros ? QByteArray() : responseBelowResolution(frame, list) ? "1" : "0";
    const QList<QByteArray> fields {
        QByteArray::number(list.firstNumber + index),
        numberOrEmpty(frame.startMicros, {}),
        numberOrEmpty(frame.gapMicros, {}),
        frame.direction == Direction::J1 ? "J1" : "J2",
        QByteArray::number(frame.bytes.size()),
        frame.bytes.toHex(' ').toUpper(),
        csvField(frameCharacters(frame.bytes)),
        csvField(frame.summary),
        csvField(frame.verdict == FrameVerdict::Good ? FrameTexts::verdictGood()
                 : frame.verdict == FrameVerdict::Bad ? FrameTexts::verdictBad()
                                                       : QString()),
        csvField(frame.problem),
        csvField(frameKindsText(frame.kinds)),
        frame.pairedFrame >= 0 ? QByteArray::number(list.firstNumber + frame.pairedFrame) : QByteArray(),
        numberOrEmpty(frame.responseMicros, {}),
        below,
    };
    return fields.join(',') + "\r\n";
}

QByteArray jsonRow(const FrameList &list, qsizetype index)
{
    const Frame &frame = list.frames.at(index);
    const QByteArray below = !frame.responseMicros ? "null" : responseBelowResolution(frame, list) ? "true" : "false";
    const QByteArray verdict = frame.verdict == FrameVerdict::Good ? "\"OK\""
        : frame.verdict == FrameVerdict::Bad                      ? "\"NG\""
                                                                   : "null";
    return "{\"number\":" + QByteArray::number(list.firstNumber + index) + ",\"time_us\":" + numberOrEmpty(frame.startMicros, "null")
        + ",\"gap_us\":" + numberOrEmpty(frame.gapMicros, "null") + ",\"direction\":\""
        + (frame.direction == Direction::J1 ? "J1" : "J2") + "\",\"length\":" + QByteArray::number(frame.bytes.size())
        + ",\"hex\":\"" + frame.bytes.toHex(' ').toUpper() + "\",\"characters\":" + jsonString(frameCharacters(frame.bytes))
        + ",\"summary\":" + jsonString(frame.summary) + ",\"verdict\":" + verdict
        + ",\"problem\":" + jsonString(frame.problem) + ",\"kind\":" + jsonString(frameKindsText(frame.kinds))
        + ",\"paired_with\":"
        + (frame.pairedFrame >= 0 ? QByteArray::number(list.firstNumber + frame.pairedFrame) : QByteArray("null"))
        + ",\"response_us\":" + numberOrEmpty(frame.responseMicros, "null")
        + ",\"response_below_resolution\":" + below + "}\n";
}

QString textHeader(const FrameList &list)
{
    QString header = FrameTexts::gapSetting(list.gapMicros);
    if (list.resolutionMicros)
        header += QStringLiteral("  ") + FrameTexts::resolution(*list.resolutionMicros);
    return header + u'\n' + FrameTexts::textHeads() + u'\n';
}

QString textRow(const FrameList &list, qsizetype index)
{
    const Frame &frame = list.frames.at(index);
    return QStringLiteral("%1  %2  %3  %4  %5  %6  %7  [%8]\n")
        .arg(QStringLiteral("#%1").arg(list.firstNumber + index), -6)
        .arg(frameTimeText(frame), 14)
        .arg(frameGapText(frame), 10)
        .arg(frameDirectionText(frame))
        .arg(frame.bytes.size(), 4)
        .arg(frameVerdictText(frame))
        .arg(frameSummaryText(list, index), frameHex(frame.bytes));
}

} // namespace

std::optional<FrameFormat> frameFormatNamed(const QString &name)
{
    if (name == QLatin1String("text"))
        return FrameFormat::Text;
    if (name == QLatin1String("csv"))
        return FrameFormat::Csv;
    if (name == QLatin1String("jsonl"))
        return FrameFormat::JsonLines;
    return std::nullopt;
}

QString frameTimeText(const Frame &frame)
{
    if (!frame.startMicros)
        return TimelineTexts::unknownValue();
    const qint64 micros = *frame.startMicros;
    return QStringLiteral("%1.%2").arg(micros / 1000000).arg(micros % 1000000, 6, 10, QLatin1Char('0'));
}

QString frameGapText(const Frame &frame)
{
    return frame.gapMicros ? FrameTexts::millis(*frame.gapMicros) : TimelineTexts::unknownValue();
}

QString frameDirectionText(const Frame &frame)
{
    return frame.direction == Direction::J1 ? TimelineTexts::directionJ1() : TimelineTexts::directionJ2();
}

QString frameVerdictText(const Frame &frame)
{
    switch (frame.verdict) {
    case FrameVerdict::Good:
        return frame.kinds.testFlag(FrameKind::Exception) ? FrameTexts::verdictException() + QStringLiteral(": ") + frame.problem
                                                          : FrameTexts::verdictGood();
    case FrameVerdict::Bad: return FrameTexts::verdictBad() + QStringLiteral(": ") + frame.problem;
    case FrameVerdict::Unchecked: break;
    }
    return FrameTexts::verdictUnchecked();
}

QString frameSummaryText(const FrameList &list, qsizetype index)
{
    const Frame &frame = list.frames.at(index);
    if (frame.pairedFrame < 0)
        return frame.summary;
    return frame.summary + u' '
        + (frame.pairedFrame < index ? FrameTexts::answerTo(list.firstNumber + frame.pairedFrame, frameResponseText(frame, list))
                                     : FrameTexts::answeredBy(list.firstNumber + frame.pairedFrame));
}

bool responseBelowResolution(const Frame &frame, const FrameList &list)
{
    return frame.responseMicros && list.resolutionMicros && *frame.responseMicros < *list.resolutionMicros;
}

QString frameResponseText(const Frame &frame, const FrameList &list)
{
    if (!frame.responseMicros)
        return {};
    if (responseBelowResolution(frame, list))
        return FrameTexts::below(QString::number(double((*list.resolutionMicros + 99) / 100) / 10.0, 'f', 1));
    return FrameTexts::millis(*frame.responseMicros);
}

QByteArray formatFramesHead(const FrameList &list, FrameFormat format)
{
    if (format == FrameFormat::Text)
        return textHeader(list).toUtf8();
    if (format == FrameFormat::Csv)
        return "number,time_us,gap_us,direction,length,hex,characters,summary,verdict,problem,kind,paired_with,response_us,"
               "response_below_resolution\r\n";
    return {};
}

QByteArray formatFrameRows(const FrameList &list, FrameFormat format, const FrameFilter &filter)
{
    QByteArray out;
    qsizetype nextBreak = 0;
    // The text, for people, has a line for each break between a series' files.
    const auto breaksBefore = [&](qsizetype frame) {
        for (; nextBreak < list.breaks.size() && list.breaks.at(nextBreak).beforeFrame <= frame; ++nextBreak) {
            if (format == FrameFormat::Text)
                out += (seriesGapText(list.breaks.at(nextBreak).gap) + u'\n').toUtf8();
        }
    };
    for (qsizetype i = 0; i < list.frames.size(); ++i) {
        breaksBefore(i);
        const Frame &frame = list.frames.at(i);
        if (!filter.accepts(frame))
            continue;
        switch (format) {
        case FrameFormat::Text: out += textRow(list, i).toUtf8(); break;
        case FrameFormat::Csv: out += csvRow(list, i); break;
        case FrameFormat::JsonLines: out += jsonRow(list, i); break;
        }
    }
    breaksBefore(list.frames.size());
    return out;
}

QByteArray formatFrames(const FrameList &list, FrameFormat format, const FrameFilter &filter)
{
    return formatFramesHead(list, format) + formatFrameRows(list, format, filter);
}

} // namespace ferrox
