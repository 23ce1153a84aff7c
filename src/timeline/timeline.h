#pragma once

#include "data/arrivaltimes.h"
#include "monitoredbytes.h"

#include <QList>
#include <QString>

#include <optional>

namespace ferrox {

// A run of monitored bytes sent by one side without the other side
// sending in between: one change of direction on the line.
struct TimelineRun
{
    Direction direction = Direction::None;
    qint32 firstByte = 0; // index of its first monitored byte, from 0
    qint32 byteCount = 0;
    // Arrival of its first byte, microseconds since the capture's start;
    // empty without arrival times.
    std::optional<qint64> arrivalMicros;
    // The response time: from the arrival of the other side's last byte to
    // this run's first byte. Empty for the first run and without times.
    std::optional<qint64> gapMicros;
};

// The response times of one side: the gaps before its runs.
struct ResponseStatistics
{
    qint32 count = 0;
    qint64 minimumMicros = 0;
    qint64 medianMicros = 0; // the mean of the two middle gaps for an even count
    qint64 maximumMicros = 0;
};

struct Timeline
{
    QList<TimelineRun> runs;
    std::optional<ArrivalTimes> times; // as given, for the start time
    ResponseStatistics responsesJ1; // runs sent by J1
    ResponseStatistics responsesJ2; // runs sent by J2
    qint32 errorOffset = -1;        // as in MonitoredBytes
};

Timeline buildTimeline(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times);

// The timeline as text, LF line ends: the start time, one line per run
// (arrival in seconds, direction, bytes, response time in milliseconds;
// "-" where unknown), then the response times of each direction.
QString timelineText(const Timeline &timeline);

// The parts of timelineText(), for a timeline written piece by piece (a
// series, file by file): the start and the column heads, the runs' lines,
// and the response times of all runs written.
QString timelineHeadText(const std::optional<ArrivalTimes> &times, qint32 errorOffset);
QString timelineRunsText(const QList<TimelineRun> &runs);
QString timelineResponsesText(const ResponseStatistics &j1, const ResponseStatistics &j2);
// The statistics of response gaps (microseconds), in any order.
ResponseStatistics responseStatistics(QList<qint64> gaps);

} // namespace ferrox
