#pragma once

#include "framedecoder.h"

namespace ferrox {

// Modbus RTU: slave address, function code and name, the register and coil
// ranges and values of functions 1–6, 15, 16 and 23, exception responses
// with their code named, and the CRC-16 checked. Frames end at the idle
// gap; where times are too coarse to show it, a frame also ends where a
// request or response of its function is complete and its CRC holds.
//
// One side asks (the side whose frames the other side answers); its frames
// are requests, the other side's are responses, and so is any exception.
// A response is paired with the waiting request when it has the same
// address and function (or the function with bit 7 set, an exception),
// with the response time. Frames whose CRC holds can still fail, each
// with its kind: byte counts against quantities (count), quantities and
// coil values outside the protocol's limits (range), answers to writes
// that differ from their request (echo), broadcasts of reading functions
// and answers to broadcasts (broadcast), responses from another server or
// function, or to no request (unpaired; a response before the capture's
// first request is taken as answering one from before the capture). An
// exception response is valid, of kind exception.
class ModbusRtuDecoder : public FrameDecoder
{
public:
    qsizetype firstFrameLength(QByteArrayView bytes) const override;
    qsizetype maxFrameLength() const override { return 256; }
    // 3.5 characters of 11 bits (start, 8 data, parity or a second stop,
    // stop) whatever the monitored width; a fixed 1.75 ms above 19,200 baud.
    std::optional<qint64> idleGapMicros(qint32 baud) const override;
    void decodeFrames(QList<Frame> &frames) const override;
};

} // namespace ferrox
