#pragma once

#include "cliarguments.h"

#include "data/capturebuffer.h"
#include "data/arrivaltimes.h"

#include <QString>

#include <optional>

namespace ferrox::cli {

// Loads a data file for a command, telling the user on standard error what
// went wrong (missing, unreadable, empty) or that a long file was cut.
// On failure `exitStatus` is set: 1 for a missing or unreadable file, 4 for
// an empty one.
std::optional<CaptureBuffer> loadDataFile(const QString &path, int &exitStatus);

// As loadDataFile(), for a command that works on the monitored bytes: a
// file holding only the end code is refused too (status 4), as render
// refuses it.
std::optional<CaptureBuffer> loadMonitorData(const QString &path, int &exitStatus);

// A usage error (printed; status 2) when writing `output` would destroy
// the data file at dataPath or its arrival times, by any spelling or link;
// 0 when it would not. "-" never does.
int refuseOverwritingInput(CliArguments &args, const QString &output, const QString &dataPath);

// The arrival times of the data file at `path` holding `capture`, from its
// sidecar; a sidecar that is missing or ignored gives none, with a note on
// standard error.
std::optional<ArrivalTimes> loadArrivalTimes(const QString &path, const CaptureBuffer &capture);

} // namespace ferrox::cli
