#pragma once

#include "capturebuffer.h"

#include <QString>

namespace ferrox {

// The program's current data: the stream and the name it goes by. A capture
// and the data-file open command replace it; the editor rewrites the stream.
struct MonitorData
{
    CaptureBuffer capture;
    // The capture's end time "yyyy年mm月dd日hh:mm:ss", or the full path of
    // the opened data file.
    QString CaptureTimestamp;

    // "現在のモニターデータ : " followed by CaptureTimestamp.
    QString CaptureTitle() const;
};

} // namespace ferrox
