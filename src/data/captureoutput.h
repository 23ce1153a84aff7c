#pragma once

#include "datafiles.h"
#include "monitordata.h"
#include "reportheader.h"

#include <QString>

#include <functional>

namespace ferrox {

// Where the data of a capture made without a window goes.
struct CaptureOutputRequest
{
    QString dataPath;             // the data file: the stream and its end code, always written,
                                  // with its arrival times in the sidecar beside it
    QString textPath;             // the rendered log; empty for none
    qint32 DisplayModeNumber = 1; // 1..5
    bool utf8 = false;            // the log in UTF-8 instead of code page 932
    // The settings lines of the log's header; the data name is the
    // capture's CaptureTimestamp.
    ReportHeaderSettings header;
    // Writes each file: a program may send an output elsewhere (standard
    // output) or reach names the toolkit cannot spell.
    std::function<FileWriteResult(const QString &path, QByteArrayView bytes)> writeFile = writeFileAtomically;
    // Whether the data file gets its arrival times beside it: not where
    // there is no beside (standard output, a device).
    std::function<bool(const QString &dataPath)> hasSidecar = [](const QString &) { return true; };
};

struct CaptureOutput
{
    enum class Status {
        Accepted,   // data written; the log too when one was asked for
        Rejected,   // empty, or tag-sequence errors: data written, no log
        WriteFailed // a file could not be written; message names it
    };
    Status status = Status::Accepted;
    qint32 SequenceErrorCount = 0;
    // Why the data was rejected or a file not written, in the program's
    // words; LF line ends. Empty when accepted.
    QString message;
};

// A finished capture's files for a program without a window: the data file
// always, rejected data included, then the capture's judgement (see
// judgeCapture); a sound capture is rendered in the chosen mode when a
// text path is given. Files are replaced atomically.
CaptureOutput writeCaptureOutput(const MonitorData &data, const CaptureOutputRequest &request);

// Why path could not be written as an output file (missing or unwritable
// folder, a folder or a read-only file in its place), or an empty text
// when it can: lets a capture refuse before it talks to the board rather
// than lose its data at the end. Nothing is left behind.
QString outputPathProblem(const QString &path);

} // namespace ferrox
