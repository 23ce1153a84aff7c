#include "monitoredbytes.h"


namespace ferrox {

MonitoredBytes assembleMonitoredBytes(const CaptureBuffer &capture)
{
    MonitoredBytes result;
    result.bytes.reserve(capture.DataByteCount());
    StreamTagMeaning previous = byteCompleted();
    std::uint8_t high = 0;
    for (qint32 i = 0; i <= capture.CaptureEnd(); ++i) {
        const std::uint8_t streamByte = capture.at(i);
        const StreamTagMeaning &tag = decodeTag(streamByte);
        if (!tagMayFollow(previous, tag)) {
            result.errorOffset = i;
            break;
        }
        if (streamByte == EndCode)
            break;
        previous = tag;
        if (tag.kind == TagKind::High)
            high = dataValueOf(streamByte);
        else if (tag.kind == TagKind::Low)
            result.bytes.append({i, tag.sender, std::uint8_t((high << 4) | dataValueOf(streamByte))});
    }
    return result;
}

} // namespace ferrox
