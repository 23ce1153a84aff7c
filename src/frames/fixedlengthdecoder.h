#pragma once

#include "framedecoder.h"

namespace ferrox {

// Records of a fixed length: a frame also ends after every `length` bytes.
// A shorter frame (cut by a gap, a change of direction or the end of the
// data) fails.
class FixedLengthDecoder : public PerFrameDecoder
{
public:
    explicit FixedLengthDecoder(qsizetype length) : m_length(length) {}

    qsizetype firstFrameLength(QByteArrayView bytes) const override;
    qsizetype maxFrameLength() const override { return m_length; }

protected:
    void decodeFrame(Frame &frame) const override;

private:
    qsizetype m_length;
};

} // namespace ferrox
