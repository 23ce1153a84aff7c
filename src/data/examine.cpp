#include "examine.h"

#include "capturebuffer.h"
#include "streamformat.h"

namespace ferrox {

bool tagMayFollow(std::uint8_t previous, std::uint8_t tag)
{
    const bool byteCompleted = previous == StreamTag::J2Low || previous == StreamTag::J1Low;
    switch (tag) {
    case StreamTag::J2High:
    case StreamTag::J1High:
    case StreamTag::Final:
        return byteCompleted;
    case StreamTag::J2Low:
        return previous == StreamTag::J2High;
    case StreamTag::J1Low:
        return previous == StreamTag::J1High;
    default:
        return false;
    }
}

qint32 ExamineMonitorData(const CaptureBuffer &capture)
{
    qint32 errors = 0;
    std::uint8_t previous = StreamTag::J2Low;
    for (const char c : capture.stream()) {
        const std::uint8_t tag = tagOf(std::uint8_t(c));
        if (!tagMayFollow(previous, tag))
            ++errors;
        previous = tag;
    }
    return errors;
}

} // namespace ferrox
