#include "seriesframes.h"

#include "texts.h"

#include "timeline/texts.h"

#include <algorithm>

namespace ferrox {

FrameList SeriesFramer::framesOf(const SeriesPiece &piece, const std::optional<ArrivalTimes> &times)
{
    FrameList frames = buildFrames(piece.bytes, times, m_decoder, m_options);
    frames.firstNumber = m_nextNumber;
    m_nextNumber += frames.frames.size();
    if (frames.frames.isEmpty())
        return frames;
    Frame &first = frames.frames.first();
    if (m_lastEnd && first.startMicros)
        first.gapMicros = std::max<qint64>(0, *first.startMicros - *m_lastEnd);
    m_lastEnd = frames.frames.constLast().endMicros;
    return frames;
}

QStringList SeriesFramer::newNotes(const FrameList &frames)
{
    QStringList notes = frames.notes();
    notes.removeAll(FrameTexts::noTimes());
    if (frames.errorOffset >= 0)
        notes.removeAll(TimelineTexts::timelineCutAtError(frames.errorOffset));
    return notes;
}

FrameList seriesWindowFrames(const SeriesFiles &files, qsizetype from, qsizetype count, const FrameDecoder &decoder,
                             const FramerOptions &options)
{
    FrameList all;
    all.gapMicros = options.effectiveGapMicros(decoder);
    SeriesReader reader(files, from, count);
    SeriesFramer framer(decoder, options);
    const auto addBreaks = [&all](const QList<SeriesGap> &gaps, const std::optional<ArrivalTimes> &axis) {
        for (const SeriesGap &gap : gaps) {
            FrameBreak line {qint32(all.frames.size()), gap, std::nullopt};
            if (gap.kind == SeriesGap::Kind::LinkLost && axis)
                line.startMicros = gap.lostEpochMicros - axis->startEpochMicros;
            all.breaks << line;
        }
    };
    while (const std::optional<SeriesPiece> piece = reader.next()) {
        addBreaks(piece->gapsBefore, reader.seriesStart());
        FrameList part = framer.framesOf(*piece);
        if (part.timed && !all.timed) {
            all.timed = true;
            all.gapMicros = part.gapMicros;
            all.gapsUsed = part.gapsUsed;
            all.cutMicros = part.cutMicros;
            all.resolutionMicros = part.resolutionMicros;
        }
        all.overLongCount += part.overLongCount;
        all.fileNotes << piece->notes;
        for (const QString &note : SeriesFramer::newNotes(part))
            all.fileNotes << TimelineTexts::seriesFileNote(piece->path, note);
        const qint32 offset = qint32(all.frames.size());
        for (Frame &frame : part.frames) {
            if (frame.pairedFrame >= 0)
                frame.pairedFrame += offset;
            all.frames << std::move(frame);
        }
    }
    addBreaks(reader.trailingGaps(), reader.seriesStart());
    return all;
}

} // namespace ferrox
