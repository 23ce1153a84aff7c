#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace ferrox {

// When a piece of the stream reached the PC: the stream offset of the
// piece's first byte (stream bytes, not monitored bytes) and the
// microseconds since the capture's start on a monotonic clock. The time is
// the arrival at the PC after the board and the link, not the moment the
// byte crossed the monitored line: a few milliseconds of blur.
struct Arrival
{
    qint64 offset = 0;
    qint64 micros = 0;

    friend bool operator==(const Arrival &, const Arrival &) = default;
};

// The arrival times of one stream: the capture's wall-clock start and the
// arrivals in stream order (offsets strictly rising, times never falling).
struct ArrivalTimes
{
    qint64 startEpochMicros = 0; // wall clock, microseconds since 1970-01-01T00:00:00Z
    int startUtcOffsetSeconds = 0; // the local time zone's offset at the start
    // A capture resumed after its link was lost: when the loss was noticed
    // (wall clock, microseconds since 1970). The gap runs from there to this
    // stream's start; the stream before it is in the previous file.
    std::optional<qint64> linkLostEpochMicros;

    QList<Arrival> arrivals;

    // The arrival time of the stream byte at `offset`: that of the piece
    // holding it (the last arrival at or before it); empty before the first.
    std::optional<qint64> microsAt(qint64 offset) const;

    // The start as ISO 8601 with microseconds and the time zone it was
    // recorded in: "2026-12-06T22:00:51.123456+09:00" (the stored form).
    QString startText() const;
    // The same instant in the reader's local time zone, for people: times
    // shown beside the window's and the monitor's local times.
    QString localStartText() const;
    // Reads startText()'s form (fraction optional, "Z" allowed); false
    // when it is not one.
    bool setStartText(QStringView text);
    // The loss in the same stored form and zone as the start; empty when
    // the link was not lost before this stream.
    QString linkLostText() const;
    bool setLinkLostText(QStringView text);

    friend bool operator==(const ArrivalTimes &, const ArrivalTimes &) = default;
};

// Notes the arrivals of a capture as its stream is stored: start() at the
// capture's start, then note() with the stream offset of each block read.
// Empty blocks and blocks that add nothing are not noted.
class ArrivalRecorder
{
public:
    // Takes the wall-clock start now and restarts the monotonic clock.
    void start();
    // A block whose first byte goes to stream offset `offset` arrived now.
    void note(qint64 offset);
    // Microseconds since start() on the monotonic clock.
    qint64 elapsedMicros() const { return m_clock.nsecsElapsed() / 1000; }

    const ArrivalTimes &times() const { return m_times; }

private:
    ArrivalTimes m_times;
    QElapsedTimer m_clock;
};

} // namespace ferrox
