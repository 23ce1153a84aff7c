#pragma once

#include "cliarguments.h"

#include "files/fileaccess.h"
#include "timeline/captureseries.h"

#include <QString>

#include <functional>
#include <optional>

namespace ferrox::cli {

// The --series flag of timeline, decode and export.
CliOption seriesOption();

// The series FILE names with --series (one of its files, the name it was
// captured to, or its folder); none, with the reason on standard error and
// status 1, when there is none or the folder holds several.
std::optional<SeriesFiles> findSeriesFor(const QString &given, int &exitStatus);

// Without --series, says on standard error that the data file read alone
// is one file of a series, so that the user learns of --series.
void hintSeries(const QString &dataPath);

// Reads the series file by file and hands each gap, then each piece, to
// the command; problems (missing or left-out files, missing sidecars,
// sequence errors) are told on standard error as they come. Stops when a
// handler returns false (its output failed). Returns the status: 4 when a
// file was left out or cut at a tag-sequence error or nothing could be
// read, else 0.
int walkSeries(const SeriesFiles &files, const std::function<bool(const SeriesGap &)> &onGap,
               const std::function<bool(const SeriesPiece &)> &onPiece);

// An output written piece by piece, as writeOutput() writes it whole: "-"
// is standard output, a device or pipe is written as it goes, a file is
// replaced only by commit() (see ReplacingWriter). Failures are noted for
// finishOutput(); every call after one returns false.
class PieceOutput
{
public:
    bool open(const QString &name);
    bool write(QByteArrayView bytes);
    bool commit();

private:
    bool failed(FileError error);

    QString m_name;
    ReplacingWriter m_writer;
    bool m_ok = false;
};

// True when writing `output` would destroy a file of the series or its
// arrival times (a usage error is printed, status 2 in exitStatus).
bool refuseOverwritingSeries(CliArguments &args, const QString &output, const SeriesFiles &files, int &exitStatus);

} // namespace ferrox::cli
