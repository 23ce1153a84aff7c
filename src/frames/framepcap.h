#pragma once

#include "frame.h"
#include "framedecoder.h"

#include "data/arrivaltimes.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace ferrox {

// Frames as the pcap export and the live pcap write them when no protocol
// is named: cut at changes of direction and idle gaps only, read by nothing.
class PlainFrames final : public FrameDecoder
{
public:
    void decodeFrames(QList<Frame> &) const override {}
};

// A pcap capture file (see pcapFileHeader) holding one record per frame,
// stamped with the arrival of its first byte (times' start plus the
// frame's start; 0 when unknown), so that Wireshark's dissectors read one
// message a record.
QByteArray pcapOfFrames(const QList<Frame> &frames, const std::optional<ArrivalTimes> &times);
// The records alone, for a file written piece by piece after its header.
void appendPcapFrames(QByteArray &out, const QList<Frame> &frames, const std::optional<ArrivalTimes> &times);

} // namespace ferrox
