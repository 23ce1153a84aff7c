#pragma once

#include "arrivaltimes.h"
#include "capturebuffer.h"

#include <QString>

#include <optional>

namespace ferrox {

// The program's current data: the stream and the name it goes by. A capture
// and the data-file open command replace it; the editor rewrites the stream.
struct MonitorData
{
    CaptureBuffer capture;
    // The capture's end time "yyyy年mm月dd日hh:mm:ss", or the full path of
    // the opened data file.
    QString CaptureTimestamp;
    // When the stream's pieces reached the PC: set by a capture, or read
    // from the sidecar of an opened data file; empty when not known.
    std::optional<ArrivalTimes> times;

    // "現在のモニターデータ : " followed by CaptureTimestamp.
    QString CaptureTitle() const;
};

} // namespace ferrox
