#pragma once

#include "monitoredbytes.h"

#include "data/arrivaltimes.h"
#include "data/capturebuffer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// The numbered data files of one split capture on disk ("long-00001.dat",
// "long-00002.dat" …, as SplitFiles names them), in number order. Only the
// names are held, never the data: a series of any length costs a few bytes
// a file here.
struct SeriesFiles
{
    QString base;   // the path up to the number: "/data/long"
    QString suffix; // ".dat", or empty
    QList<qint64> numbers; // rising; a missing one is a hole in the series

    QString path(qsizetype index) const;
    qsizetype size() const { return numbers.size(); }
};

struct SeriesLookup
{
    std::optional<SeriesFiles> files;
    QString error; // why none was found, for standard error or a message box
};

// The series `given` names: one of its files ("long-00003.dat": the whole
// series of "long"), the name the capture was given ("long.dat"), or a
// folder holding exactly one series (a folder holding pieces of several
// captures is refused, naming them).
SeriesLookup findSeries(const QString &given);

// The series `dataPath` belongs to when it is one of two or more pieces;
// empty otherwise (a plain data file, a piece alone).
std::optional<SeriesFiles> seriesBeside(const QString &dataPath);

// What lies between two files of a series (or before the first one read).
struct SeriesGap
{
    enum class Kind {
        // The capture lost its link and resumed in the next file: from the
        // loss to the next file's start (wall clock, µs since 1970).
        LinkLost,
        // Numbers missing from the series: a ring dropped them or they were
        // lost. Nothing is known of their time.
        MissingFiles,
        // A file that is there but cannot be used: unreadable, empty, or
        // of another capture. `why` says which.
        FileLeftOut,
    };
    Kind kind = Kind::MissingFiles;
    qint64 lostEpochMicros = 0;
    qint64 backEpochMicros = 0;
    QString firstFile; // MissingFiles: the first and last missing name; FileLeftOut: the file
    QString lastFile;
    QString why;
};

// One file of a series, read: its monitored bytes, and its arrival times
// on the series' one time axis (startEpochMicros is the series' start,
// each arrival shifted by the file's own start after it), with the gaps
// that come before it.
struct SeriesPiece
{
    QString path;
    QList<SeriesGap> gapsBefore;
    MonitoredBytes bytes;
    std::optional<ArrivalTimes> times;
    // The series' index of the file's first monitored byte.
    qint64 firstByteIndex = 0;
    // For the user, each naming the file: a missing or ignored sidecar, a
    // file cut at the buffer's size, a tag-sequence error.
    QStringList notes;
};

// Reads a series file by file: only the file being read is in memory, so
// a day's series costs what one file does.
class SeriesReader
{
public:
    // Reads `count` files from index `from` (all that follow for -1). A
    // reader that starts later keeps the series' time axis (the first
    // file's start) and says nothing of the files before `from`.
    explicit SeriesReader(SeriesFiles files, qsizetype from = 0, qsizetype count = -1);

    // The next file that can be used, with the gaps before it (files left
    // out included); empty at the end.
    std::optional<SeriesPiece> next();
    // Gaps after the last piece read (a last file left out), once next()
    // has given its empty result.
    const QList<SeriesGap> &trailingGaps() const { return m_pending; }

    // The series' start (the first file with times), once known.
    std::optional<ArrivalTimes> seriesStart() const { return m_origin; }

private:
    // Why the file whose times are `times` cannot follow the last one used.
    QString otherCaptureReason(const ArrivalTimes &times) const;
    void leaveOut(const QString &path, const QString &why);

    SeriesFiles m_files;
    qsizetype m_index = 0;
    qsizetype m_end = 0;
    QList<SeriesGap> m_pending;
    std::optional<ArrivalTimes> m_origin; // start and zone of the time axis
    // The last file used with times: its start, link loss and last arrival.
    std::optional<ArrivalTimes> m_last;
    // Something between it and the next file is not known: missing or
    // left-out files, a file without times.
    bool m_unknownSinceLast = false;
    qint64 m_nextByteIndex = 0;
};

// A gap as one line for people: "リンク断" with the loss and the return in
// the reader's local time and its length, the missing files, or the file
// left out and why.
QString seriesGapText(const SeriesGap &gap);

} // namespace ferrox
