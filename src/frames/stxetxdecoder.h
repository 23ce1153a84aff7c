#pragma once

#include "framedecoder.h"

namespace ferrox {

// The block check that follows ETX, computed over the bytes after STX up to
// and including ETX.
enum class BlockCheck {
    None,
    Xor,   // one byte: all bytes XORed (BCC)
    Sum,   // one byte: the sum modulo 256
    Crc16, // two bytes, low byte first: CRC-16 as Modbus computes it
};

// STX … ETX messages (02 … 03) with an optional block check. A frame
// also ends after ETX and its check; bytes before an STX (ACK, NAK, ENQ …)
// make a frame of their own, shown but not checked. A frame that starts
// with STX fails without its ETX or when its check differs.
class StxEtxDecoder : public PerFrameDecoder
{
public:
    explicit StxEtxDecoder(BlockCheck check) : m_check(check) {}

    qsizetype firstFrameLength(QByteArrayView bytes) const override;

protected:
    void decodeFrame(Frame &frame) const override;

private:
    qsizetype checkLength() const;

    BlockCheck m_check;
};

} // namespace ferrox
