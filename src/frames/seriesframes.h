#pragma once

#include "framer.h"

#include "timeline/captureseries.h"

namespace ferrox {

// The frames of a series' files in turn: frames never run across a file's
// end, their numbers go on from file to file, and a file's first frame has
// its gap from the last frame before it on the series' time axis.
class SeriesFramer
{
public:
    SeriesFramer(const FrameDecoder &decoder, const FramerOptions &options) : m_decoder(decoder), m_options(options) {}

    // The frames of the next piece, times as given (the piece's own, or
    // none where they cannot be used).
    FrameList framesOf(const SeriesPiece &piece, const std::optional<ArrivalTimes> &times);
    FrameList framesOf(const SeriesPiece &piece) { return framesOf(piece, piece.times); }

    // The list's notes but those the series reader gives for each piece
    // already (no times, a tag-sequence error).
    static QStringList newNotes(const FrameList &frames);

private:
    const FrameDecoder &m_decoder;
    const FramerOptions &m_options;
    qint64 m_nextNumber = 1;
    std::optional<qint64> m_lastEnd;
};

// How many files of a series the frame view holds at a time.
constexpr qsizetype SeriesViewFiles = 3;

// The frames of `count` files of a series from index `from`, as one list
// for the frame view: the gaps before each file (a lost link, missing or
// left-out files) are its breaks, the files' notes its fileNotes, and the
// gap, resolution and cut are those of the first file with times.
FrameList seriesWindowFrames(const SeriesFiles &files, qsizetype from, qsizetype count, const FrameDecoder &decoder,
                             const FramerOptions &options);

} // namespace ferrox
