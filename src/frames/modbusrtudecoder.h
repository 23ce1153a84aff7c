#pragma once

#include "framedecoder.h"

namespace ferrox {

// Modbus RTU: slave address, function code and name, the register and coil
// ranges and values of functions 1–6, 15, 16 and 23, exception responses
// with their code named, and the CRC-16 checked. Frames end at the idle
// gap; where times are too coarse to show it, a frame also ends where a
// request or response of its function is complete and its CRC holds. A
// gap inside a message does not end it where the bytes before it are no
// complete message and with those after it make one whose CRC holds, or
// exactly the length of one of its function (its tail came late: a
// stalled adapter or board, a busy PC).
//
// Requests and responses are read, paired and checked as modbusframes.h
// says.
class ModbusRtuDecoder : public FrameDecoder
{
public:
    qsizetype firstFrameLength(QByteArrayView bytes) const override;
    qsizetype maxFrameLength() const override { return 256; }
    // 3.5 characters of 11 bits (start, 8 data, parity or a second stop,
    // stop) whatever the monitored width; a fixed 1.75 ms above 19,200 baud.
    std::optional<qint64> idleGapMicros(qint32 baud) const override;
    bool continuesAcross(QByteArrayView before, QByteArrayView after) const override;
    bool endsOpen(QByteArrayView before) const override;
    void decodeFrames(QList<Frame> &frames) const override;

private:
    // The last message of `bytes`, as the framer cuts them.
    QByteArrayView lastMessage(QByteArrayView bytes) const;
};

} // namespace ferrox
