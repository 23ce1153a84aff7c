#include "examine.h"

#include "capturebuffer.h"
#include "streamformat.h"

namespace ferrox {

qint32 ExamineMonitorData(const CaptureBuffer &capture)
{
    qint32 errors = 0;
    StreamTagMeaning previous = byteCompleted();
    for (const char c : capture.stream()) {
        const StreamTagMeaning &tag = decodeTag(std::uint8_t(c));
        if (!tagMayFollow(previous, tag))
            ++errors;
        previous = tag;
    }
    return errors;
}

} // namespace ferrox
