#pragma once

#include "datafiles.h"
#include "monitordata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace ferrox {

// Where a finished capture's files go: the window's "rs_data.dat", the
// command line's OUT.dat, the editor's store into "rs_data.dat".
struct CaptureFiles
{
    QString dataPath; // the stream with its end code, its arrival times beside it
    QString textPath; // the rendered log; empty for none
    QByteArray text;  // what textPath gets
    // Writes each file: a program may send an output elsewhere (standard
    // output) or reach names the toolkit cannot spell.
    std::function<FileWriteResult(const QString &path, QByteArrayView bytes)> writeFile = writeFileAtomically;
    // Whether the data file gets its arrival times beside it: not where
    // there is no beside (standard output, a device).
    std::function<bool(const QString &dataPath)> hasSidecar = [](const QString &) { return true; };
};

struct StoredCapture
{
    // Nothing but the end code: nothing was written.
    bool empty = false;
    bool dataWritten = false;
    // The user's message for each file that could not be written, in the
    // order they were written (data file, sidecar, text); empty when all were.
    QStringList failures;
};

// Stores a finished capture. An empty capture (nothing but its end code)
// is refused as it is for rendering: nothing is written, so the files of
// an earlier capture stay as they were. Otherwise the data file, then the
// arrival times beside it (a stale sidecar removed when there are none, so
// no times date bytes they do not belong to), then the text when a text
// path is given. Each file is replaced atomically; a data file that could
// not get its sidecar is kept.
StoredCapture storeCapture(const MonitorData &data, const CaptureFiles &files);

} // namespace ferrox
