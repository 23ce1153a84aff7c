#pragma once

#include "arrivaltimes.h"

#include "data/datafiles.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

// The arrival times of a data file live beside it, in a plain-text file
// named after it with ".times" appended ("a.dat" → "a.dat.times"): a first
// line with the capture's wall-clock start in ISO 8601 with its time zone,
// then one line per arrival, "stream offset<TAB>microseconds since the
// start", LF line ends. The data file itself never changes. A capture
// resumed after a lost link has a second line "link-lost<TAB>" and the
// time the loss was noticed, in the start's form.
QString sidecarPath(const QString &dataPath);

QByteArray formatSidecar(const ArrivalTimes &times);

// Written atomically, like the data file.
FileWriteResult writeSidecar(const QString &dataPath, const ArrivalTimes &times);

struct SidecarRead
{
    enum class Status {
        Loaded,  // times holds the arrivals
        Missing, // no sidecar: the data has no times, as before
        Ignored  // a sidecar that cannot belong to the data; note says why
    };
    Status status = Status::Missing;
    std::optional<ArrivalTimes> times;
    QString note; // Ignored: for the status line or standard error
};

// Reads the text of a sidecar for a stream of `streamLength` bytes (the
// data file's length). Anything doubtful ignores the whole sidecar rather
// than show wrong times: a line that is not "offset<TAB>micros", a last
// line cut short, offsets that do not rise or times that fall, an offset
// at or past the stream's end (a sidecar of another data file).
SidecarRead parseSidecar(const QByteArray &text, qint64 streamLength);

// Reads the sidecar of the data file at dataPath.
SidecarRead readSidecar(const QString &dataPath, qint64 streamLength);

// Copies or removes the sidecar so that it follows its data file to
// targetDataPath: the times go along, or a stale sidecar at the target is
// removed when there are none. Written atomically.
FileWriteResult placeSidecar(const QString &targetDataPath, const std::optional<ArrivalTimes> &times);

} // namespace ferrox
