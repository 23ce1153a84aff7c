#pragma once

#include "capturestore.h"
#include "datafiles.h"
#include "monitordata.h"
#include "reportheader.h"

#include <QString>

namespace ferrox {

// Where the data of a capture made without a window goes.
struct CaptureOutputRequest
{
    // The data file, always written (but for an empty capture), and the
    // rendered log when a text path is given; their text is the rendering.
    CaptureFiles files;
    qint32 DisplayModeNumber = 1; // 1..5
    bool utf8 = false;            // the log in UTF-8 instead of code page 932
    // The settings lines of the log's header; the data name is the
    // capture's CaptureTimestamp.
    ReportHeaderSettings header;
};

struct CaptureOutput
{
    enum class Status {
        Accepted,   // data written; the log too when one was asked for
        Rejected,   // tag-sequence errors: data written, no log; empty: nothing written
        WriteFailed // a file could not be written; message names it
    };
    Status status = Status::Accepted;
    qint32 SequenceErrorCount = 0;
    // Why the data was rejected or a file not written, in the program's
    // words; LF line ends. Empty when accepted.
    QString message;
};

// A finished capture's files for a program without a window: the
// capture's judgement (see judgeCapture), then its store (see
// storeCapture), rejected data included: a sound capture is rendered in
// the chosen mode when a text path is given.
CaptureOutput writeCaptureOutput(const MonitorData &data, const CaptureOutputRequest &request);

// Why path could not be written as an output file (missing or unwritable
// folder, a folder or a read-only file in its place), or an empty text
// when it can: lets a capture refuse before it talks to the board rather
// than lose its data at the end. Nothing is left behind.
QString outputPathProblem(const QString &path);

} // namespace ferrox
