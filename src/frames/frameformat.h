#pragma once

#include "framefilter.h"
#include "framer.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

enum class FrameFormat {
    // UTF-8, LF: the gap setting and the times' resolution, column heads,
    // then one line per frame: number, time (s), gap (ms), direction,
    // length, verdict, summary with its pair and response time, and the
    // bytes in hexadecimal.
    Text,
    // UTF-8, CR LF, one row per frame: "number,time_us,gap_us,direction,
    // length,hex,characters,summary,verdict,problem,kind,paired_with,
    // response_us,response_below_resolution"; kind: the findings' kinds
    // joined by commas ("crc", "exception" …), empty for none;
    // response_below_resolution: 1 when the response time is below the
    // times' resolution (only an upper bound), 0 when not, empty without one.
    Csv,
    // One JSON object per frame and line, UTF-8, LF, with the keys of the
    // CSV columns; unknown numbers are null, the flag true or false.
    JsonLines,
};

// "text", "csv", "jsonl".
std::optional<FrameFormat> frameFormatNamed(const QString &name);

// The frames the filter lets through. Frame numbers count from 1 (the
// list's firstNumber) over all frames, filtered or not, so that a pair's
// numbers stay true. The text form has a line for each of the list's
// breaks (a lost link between a series' files …).
QByteArray formatFrames(const FrameList &list, FrameFormat format, const FrameFilter &filter = {});
// formatFrames() in parts, for frames written file by file: the head (the
// gap and resolution lines and column heads of text, CSV's column names),
// then each list's rows.
QByteArray formatFramesHead(const FrameList &list, FrameFormat format);
QByteArray formatFrameRows(const FrameList &list, FrameFormat format, const FrameFilter &filter = {});

// A frame's columns as the text output and the frame view show them.
QString frameTimeText(const Frame &frame);      // seconds with microseconds, or "-"
QString frameGapText(const Frame &frame);       // milliseconds, or "-"
QString frameDirectionText(const Frame &frame); // "J1→J2" or "J1←J2"
QString frameVerdictText(const Frame &frame);   // "OK", "例外: code", "NG: why" or "-"
// The summary of list's frame `index` with the number of its pair and the
// response time.
QString frameSummaryText(const FrameList &list, qsizetype index);
// A response time shorter than the times' resolution says only that it
// was below it: the arrivals cannot tell it apart from 0.
bool responseBelowResolution(const Frame &frame, const FrameList &list);
// The response time in milliseconds ("12.000"), "< 5.1" (the resolution,
// rounded up to 0.1 ms) when below the resolution, empty without one.
QString frameResponseText(const Frame &frame, const FrameList &list);

} // namespace ferrox
