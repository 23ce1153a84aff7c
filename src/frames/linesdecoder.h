#pragma once

#include "framedecoder.h"

namespace ferrox {

// Text lines: a frame also ends after CR, LF or CR LF. The summary is the
// line read as code page 932 text, without its line end. No check.
class LinesDecoder : public PerFrameDecoder
{
public:
    qsizetype firstFrameLength(QByteArrayView bytes) const override;

protected:
    void decodeFrame(Frame &frame) const override;
};

} // namespace ferrox
