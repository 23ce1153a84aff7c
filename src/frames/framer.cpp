#include "framer.h"

#include "texts.h"

#include "timeline/texts.h"

#include <algorithm>

namespace ferrox {

namespace {

// How fine the arrival times are. Inside a burst of traffic, reads come at
// the pace of the adapter's batches, the finest step the times can show;
// between messages the steps are the traffic's own pauses. So the
// resolution is the shortest steady step: the lower quartile (nearest rank)
// of the rising steps. Not the median: sparse traffic arrives in one read
// per message, and most of its steps are its own polling period, which
// would hide every silence. Not the smallest: a read split in two makes an
// odd step far below the adapter's pace. Where no burst shows its pace
// (sparse traffic), the shortest turns between messages bound it from
// above, and that bound is what the header states.
std::optional<qint64> resolutionOf(const ArrivalTimes &times)
{
    QList<qint64> steps;
    for (qsizetype i = 1; i < times.arrivals.size(); ++i) {
        const qint64 step = times.arrivals.at(i).micros - times.arrivals.at(i - 1).micros;
        if (step > 0)
            steps.append(step);
    }
    if (steps.isEmpty())
        return std::nullopt;
    const auto quartile = steps.begin() + (steps.size() + 3) / 4 - 1;
    std::nth_element(steps.begin(), quartile, steps.end());
    return *quartile;
}

// The longest silence on the line that the step between the arrivals of
// bytes i - 1 and i can hold, in microseconds. The bytes that arrived by
// any later time t crossed the line before t, one character time each: so
// the line was busy for their time before t, and the silence is at most t
// less their time less the earlier arrival. The pieces that come within
// the step after it are looked at, not only the first: a reader that fell
// behind (a busy PC) gets its backlog in pieces faster than the line could
// carry them. Both sides' bytes count, since they share the board's link;
// the scan stops once the silence is below `enough`.
double silenceBefore(const QList<std::optional<qint64>> &arrivals, qsizetype i, double characterMicros, double enough)
{
    const qint64 before = *arrivals.at(i - 1);
    const qint64 start = *arrivals.at(i);
    double silence = double(start - before);
    qsizetype count = 0;
    for (qsizetype j = i; j < arrivals.size() && arrivals.at(j) && *arrivals.at(j) - start <= start - before;) {
        const qint64 at = *arrivals.at(j);
        for (; j < arrivals.size() && arrivals.at(j) == at; ++j)
            ++count;
        silence = std::min(silence, double(at - before) - double(count) * characterMicros);
        if (silence < enough)
            break;
    }
    return silence;
}

// The values of monitored bytes [first, end).
QByteArray runBytes(const MonitoredBytes &bytes, qsizetype first, qsizetype end)
{
    QByteArray run;
    run.reserve(end - first);
    for (qsizetype i = first; i < end; ++i)
        run.append(char(bytes.bytes.at(i).value));
    return run;
}

// The end of the side's bytes that start at `first`: the next change of
// direction or the end, at most `most` bytes on.
qsizetype sideEnd(const MonitoredBytes &bytes, qsizetype first, qsizetype most)
{
    qsizetype end = first;
    while (end < bytes.bytes.size() && end - first < most && bytes.bytes.at(end).direction == bytes.bytes.at(first).direction)
        ++end;
    return end;
}

// Appends the frames of one side's bytes [first, end) that no gap divides,
// as the decoder's message ends cut them.
void appendFrames(FrameList &list, const MonitoredBytes &bytes, const QList<std::optional<qint64>> &arrivals,
                  qsizetype first, qsizetype end, const FrameDecoder &decoder)
{
    const QByteArray run = runBytes(bytes, first, end);
    qsizetype at = 0;
    while (at < run.size()) {
        const QByteArrayView rest = QByteArrayView(run).sliced(at);
        qsizetype length = decoder.firstFrameLength(rest);
        if (length < 1 || length > rest.size())
            length = rest.size();
        Frame frame;
        if (length > decoder.maxFrameLength()) {
            length = decoder.maxFrameLength();
            frame.overLong = true;
            ++list.overLongCount;
        }
        const qsizetype firstIndex = first + at;
        frame.direction = bytes.bytes.at(firstIndex).direction;
        frame.firstByte = qint32(firstIndex);
        frame.bytes = rest.first(length).toByteArray();
        frame.startMicros = arrivals.at(firstIndex);
        frame.endMicros = arrivals.at(firstIndex + length - 1);
        if (!list.frames.isEmpty() && frame.startMicros && list.frames.constLast().endMicros)
            frame.gapMicros = std::max<qint64>(0, *frame.startMicros - *list.frames.constLast().endMicros);
        list.frames.append(std::move(frame));
        at += length;
    }
}

} // namespace

qint64 FramerOptions::effectiveGapMicros() const
{
    return gapMicros ? *gapMicros : threeAndAHalfCharacters(monitoredBaud, bitsPerCharacter);
}

qint64 FramerOptions::effectiveGapMicros(const FrameDecoder &decoder) const
{
    if (gapMicros)
        return *gapMicros;
    return decoder.idleGapMicros(monitoredBaud).value_or(threeAndAHalfCharacters(monitoredBaud, bitsPerCharacter));
}

QStringList FrameList::notes() const
{
    QStringList lines;
    if (errorOffset >= 0)
        lines << TimelineTexts::timelineCutAtError(errorOffset);
    if (!timed)
        lines << FrameTexts::noTimes();
    if (backwardsAt >= 0)
        lines << FrameTexts::timesBackwards(backwardsAt);
    if (timed && resolutionMicros && *resolutionMicros > gapMicros) {
        lines << (gapsUsed ? FrameTexts::coarseTimes(*resolutionMicros, gapMicros)
                           : FrameTexts::coarseTimesCutLonger(*resolutionMicros, gapMicros, cutMicros));
    }
    if (overLongCount > 0)
        lines << FrameTexts::overLongFrames(overLongCount);
    return lines + fileNotes;
}

FrameList buildFrames(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times,
                      const FrameDecoder &decoder, const FramerOptions &options)
{
    FrameList list;
    list.errorOffset = bytes.errorOffset;
    list.gapMicros = options.effectiveGapMicros(decoder);
    list.timed = times.has_value() && !times->arrivals.isEmpty();
    if (list.timed)
        list.resolutionMicros = resolutionOf(*times);
    // A gap the user sets is a step between arrivals, used as set. The
    // default gap is a silence on the line: a step between arrivals less
    // the line time of the bytes that arrived after it (see
    // silenceBefore()), give or take the times' blur, about their
    // resolution. So a frame ends where that silence is at least the gap
    // plus the resolution: pieces paced by the line (a busy line read in
    // batches) show none, and a silence clearly longer than the blur is
    // never dropped, however coarse the times.
    list.gapsUsed = list.timed
        && (options.gapMicros || !list.resolutionMicros || *list.resolutionMicros <= list.gapMicros);
    if (list.timed)
        list.cutMicros = list.gapMicros + (options.gapMicros ? 0 : list.resolutionMicros.value_or(0));
    const double characterMicros = 1e6 * std::max(1, options.bitsPerCharacter) / std::max(1, options.monitoredBaud);

    QList<std::optional<qint64>> arrivals(bytes.bytes.size());
    if (list.timed) {
        for (qsizetype i = 0; i < arrivals.size(); ++i)
            arrivals[i] = times->microsAt(bytes.bytes.at(i).offset);
    }

    qsizetype first = 0;
    for (qsizetype i = 1; i <= bytes.bytes.size(); ++i) {
        const bool last = i == bytes.bytes.size();
        bool ends = last || bytes.bytes.at(i).direction != bytes.bytes.at(i - 1).direction;
        if (!last && arrivals.at(i) && arrivals.at(i - 1)) {
            const qint64 step = *arrivals.at(i) - *arrivals.at(i - 1);
            if (step < 0 && list.backwardsAt < 0)
                list.backwardsAt = qint32(i);
            if (options.gapMicros) {
                ends = ends || step >= list.cutMicros;
            } else if (step > 0 && !ends
                       && silenceBefore(arrivals, i, characterMicros, double(list.cutMicros)) >= double(list.cutMicros)) {
                ends = !decoder.continuesAcross(runBytes(bytes, first, i), runBytes(bytes, i, sideEnd(bytes, i, decoder.maxFrameLength())));
            }
        }
        if (ends) {
            appendFrames(list, bytes, arrivals, first, i, decoder);
            first = i;
        }
    }
    decoder.decodeFrames(list.frames);
    return list;
}

} // namespace ferrox
