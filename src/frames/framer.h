#pragma once

#include "frame.h"
#include "framedecoder.h"

#include "data/arrivaltimes.h"
#include "timeline/captureseries.h"
#include "timeline/monitoredbytes.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace ferrox {

// How the framer cuts the monitored bytes into frames.
struct FramerOptions
{
    // The idle gap that ends a frame, in microseconds; empty for the
    // default: the decoder's own rule (Modbus RTU), else 3.5 character
    // times at the monitored speed.
    std::optional<qint64> gapMicros;
    qint32 monitoredBaud = 9600;
    // Bits on the line per character: start, 8 data, stop; 11 with the
    // ninth bit of the 9-bit data width.
    int bitsPerCharacter = 10;

    // The gap in force: the one set, else 3.5 characters of
    // bitsPerCharacter; with a decoder, the decoder's own rule first.
    qint64 effectiveGapMicros() const;
    qint64 effectiveGapMicros(const FrameDecoder &decoder) const;
};

// A line between frames where the frames of a series' files meet: what
// lies between two files (a lost link with its start and end, missing or
// left-out files), shown before frame beforeFrame (the list's size: after
// the last).
struct FrameBreak
{
    qint32 beforeFrame = 0;
    SeriesGap gap;
    std::optional<qint64> startMicros; // a lost link's start on the frames' time axis
};

struct FrameList
{
    QList<Frame> frames;
    qint64 gapMicros = 0; // the idle gap that ends frames
    bool timed = false;   // false: frames end at direction changes only
    // False when the times are too coarse for the default gap (their
    // resolution is above it): a USB adapter's batches hide it, so frames
    // end at direction changes, where the decoder finds a message's end,
    // and at silences of cutMicros only. A gap set by the user is always
    // used.
    bool gapsUsed = false;
    // What ends a frame, in microseconds; 0 without times. With a gap set
    // by the user, a step of at least it between successive arrivals. By
    // default, a silence of at least the gap plus the resolution: a step
    // less the line time (FramerOptions' speed and width) of the bytes
    // that arrived at its end.
    qint64 cutMicros = 0;
    // How fine the times are: the shortest steady step between successive
    // arrivals (see buildFrames), in microseconds; empty without two
    // arrivals at different times.
    std::optional<qint64> resolutionMicros;
    qint32 errorOffset = -1;     // the stream's first tag-sequence error, as in MonitoredBytes
    qint32 backwardsAt = -1;     // first monitored byte whose time runs backwards, -1 if none
    qint32 overLongCount = 0;    // frames cut at the decoder's longest frame
    // The number outputs give the first frame (pairs are numbered alike):
    // a later file of a series goes on from the files before it.
    qint64 firstNumber = 1;
    // Frames of several files of a series (the frame view's window): what
    // lies between them, and what was said of each file.
    QList<FrameBreak> breaks;
    QStringList fileNotes;
    // Lines for the user about the above (sequence error, no times,
    // times running backwards, coarse times, over-long frames).
    QStringList notes() const;
};

// Cuts the monitored bytes into frames at changes of direction, at idle
// gaps (where times are known and rise; see cutMicros) and where the
// decoder finds a message's end, then lets the decoder read them.
// Times that are missing for a byte, identical or running backwards never
// end a frame; backwards gaps count as zero.
FrameList buildFrames(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times,
                      const FrameDecoder &decoder, const FramerOptions &options = {});

} // namespace ferrox
