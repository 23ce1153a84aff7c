#include "timeline.h"

#include "texts.h"

#include <algorithm>

namespace ferrox {

ResponseStatistics responseStatistics(QList<qint64> gaps)
{
    ResponseStatistics stats;
    stats.count = qint32(gaps.size());
    if (gaps.isEmpty())
        return stats;
    std::sort(gaps.begin(), gaps.end());
    const qsizetype middle = gaps.size() / 2;
    stats.minimumMicros = gaps.constFirst();
    stats.maximumMicros = gaps.constLast();
    stats.medianMicros = gaps.size() % 2 ? gaps.at(middle) : (gaps.at(middle - 1) + gaps.at(middle)) / 2;
    return stats;
}

namespace {

QString seconds(std::optional<qint64> micros)
{
    if (!micros)
        return TimelineTexts::unknownValue();
    return QStringLiteral("%1.%2").arg(*micros / 1000000).arg(*micros % 1000000, 6, 10, QLatin1Char('0'));
}

QString milliseconds(std::optional<qint64> micros)
{
    if (!micros)
        return TimelineTexts::unknownValue();
    return QStringLiteral("%1.%2").arg(*micros / 1000).arg(*micros % 1000, 3, 10, QLatin1Char('0'));
}

QString directionText(Direction direction)
{
    return direction == Direction::J1 ? TimelineTexts::directionJ1() : TimelineTexts::directionJ2();
}

} // namespace

Timeline buildTimeline(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times)
{
    Timeline timeline;
    timeline.times = times;
    timeline.errorOffset = bytes.errorOffset;
    const auto arrivalOf = [&times](const MonitoredByte &b) {
        return times ? times->microsAt(b.offset) : std::nullopt;
    };
    QList<qint64> gapsJ1;
    QList<qint64> gapsJ2;
    for (qsizetype i = 0; i < bytes.bytes.size(); ++i) {
        const MonitoredByte &byte = bytes.bytes.at(i);
        if (!timeline.runs.isEmpty() && timeline.runs.constLast().direction == byte.direction) {
            ++timeline.runs.last().byteCount;
            continue;
        }
        TimelineRun run {byte.direction, qint32(i), 1, arrivalOf(byte), std::nullopt};
        const std::optional<qint64> otherSideLast = i > 0 ? arrivalOf(bytes.bytes.at(i - 1)) : std::nullopt;
        if (run.arrivalMicros && otherSideLast) {
            run.gapMicros = *run.arrivalMicros - *otherSideLast;
            (byte.direction == Direction::J1 ? gapsJ1 : gapsJ2).append(*run.gapMicros);
        }
        timeline.runs.append(run);
    }
    timeline.responsesJ1 = responseStatistics(std::move(gapsJ1));
    timeline.responsesJ2 = responseStatistics(std::move(gapsJ2));
    return timeline;
}

QString timelineHeadText(const std::optional<ArrivalTimes> &times, qint32 errorOffset)
{
    QString text = (times ? TimelineTexts::timelineStart() + times->localStartText() : TimelineTexts::timelineNoStart())
        + u'\n';
    if (errorOffset >= 0)
        text += TimelineTexts::timelineCutAtError(errorOffset) + u'\n';
    return text + TimelineTexts::timelineHeads() + u'\n';
}

QString timelineRunsText(const QList<TimelineRun> &runs)
{
    QString text;
    for (const TimelineRun &run : runs) {
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(seconds(run.arrivalMicros), 14)
                    .arg(directionText(run.direction), -8)
                    .arg(run.byteCount, 8)
                    .arg(milliseconds(run.gapMicros), 12);
    }
    return text;
}

QString timelineResponsesText(const ResponseStatistics &j1, const ResponseStatistics &j2)
{
    QString text = u'\n' + TimelineTexts::responseSummary() + u'\n' + TimelineTexts::responseHeads() + u'\n';
    for (const auto &[direction, stats] : {std::pair {Direction::J1, j1}, std::pair {Direction::J2, j2}}) {
        const bool any = stats.count > 0;
        text += QStringLiteral("%1  %2  %3  %4  %5\n")
                    .arg(directionText(direction), -8)
                    .arg(stats.count, 6)
                    .arg(any ? milliseconds(stats.minimumMicros) : TimelineTexts::unknownValue(), 10)
                    .arg(any ? milliseconds(stats.medianMicros) : TimelineTexts::unknownValue(), 10)
                    .arg(any ? milliseconds(stats.maximumMicros) : TimelineTexts::unknownValue(), 10);
    }
    return text;
}

QString timelineText(const Timeline &timeline)
{
    return timelineHeadText(timeline.times, timeline.errorOffset) + timelineRunsText(timeline.runs)
        + timelineResponsesText(timeline.responsesJ1, timeline.responsesJ2);
}

} // namespace ferrox
