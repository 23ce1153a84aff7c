#include "linesdecoder.h"

#include "framecharacters.h"

namespace ferrox {

namespace {

constexpr char CR = 0x0D, LF = 0x0A;

} // namespace

qsizetype LinesDecoder::firstFrameLength(QByteArrayView bytes) const
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == LF)
            return i + 1;
        if (bytes[i] == CR)
            return i + 1 < bytes.size() && bytes[i + 1] == LF ? i + 2 : i + 1;
    }
    return bytes.size();
}

void LinesDecoder::decodeFrame(Frame &frame) const
{
    QByteArrayView line(frame.bytes);
    while (!line.isEmpty() && (line.back() == CR || line.back() == LF))
        line.chop(1);
    frame.summary = frameText(line);
}

} // namespace ferrox
