#include "fixedlengthdecoder.h"

#include "framecharacters.h"
#include "texts.h"

namespace ferrox {

qsizetype FixedLengthDecoder::firstFrameLength(QByteArrayView bytes) const
{
    return std::min(bytes.size(), m_length);
}

void FixedLengthDecoder::decodeFrame(Frame &frame) const
{
    frame.summary = frameText(frame.bytes);
    if (frame.bytes.size() < m_length)
        frame.fail(FrameKind::Length, FrameTexts::shortRecord(frame.bytes.size(), m_length));
    else
        frame.verdict = FrameVerdict::Good;
}

} // namespace ferrox
