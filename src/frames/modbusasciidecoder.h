#pragma once

#include "framedecoder.h"

namespace ferrox {

// Modbus ASCII: ':', then the server address, the PDU and the LRC as
// pairs of hexadecimal digits, then CR LF. A frame ends after its LF and
// before every ':' (which starts a frame anew); bytes before a ':' are a
// frame of their own. Its characters may be up to a second apart, so only
// a second's silence ends a frame. The LRC is checked (kind crc); a frame
// without its ':' or CR LF, or whose characters are no hexadecimal pairs,
// fails (kind length); the rest is read, paired and checked as Modbus RTU's
// (modbusframes.h).
class ModbusAsciiDecoder : public FrameDecoder
{
public:
    qsizetype firstFrameLength(QByteArrayView bytes) const override;
    qsizetype maxFrameLength() const override { return 513; } // ':', 255 bytes as hex pairs, CR LF
    std::optional<qint64> idleGapMicros(qint32 baud) const override;
    void decodeFrames(QList<Frame> &frames) const override;
};

} // namespace ferrox
