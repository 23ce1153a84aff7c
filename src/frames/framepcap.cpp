#include "framepcap.h"

#include "timeline/exportformats.h"

namespace ferrox {

QByteArray pcapOfFrames(const QList<Frame> &frames, const std::optional<ArrivalTimes> &times)
{
    QByteArray out = pcapFileHeader();
    appendPcapFrames(out, frames, times);
    return out;
}

void appendPcapFrames(QByteArray &out, const QList<Frame> &frames, const std::optional<ArrivalTimes> &times)
{
    for (const Frame &frame : frames) {
        const qint64 epochMicros = times && frame.startMicros ? times->startEpochMicros + *frame.startMicros : 0;
        appendPcapRecord(out, frame.direction, frame.bytes, epochMicros);
    }
}

} // namespace ferrox
