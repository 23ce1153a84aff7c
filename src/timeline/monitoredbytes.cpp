#include "monitoredbytes.h"

#include "data/examine.h"

namespace ferrox {

MonitoredBytes assembleMonitoredBytes(const CaptureBuffer &capture)
{
    MonitoredBytes result;
    result.bytes.reserve(capture.DataByteCount());
    std::uint8_t previous = StreamTag::J1Low; // as if a complete byte had just ended
    std::uint8_t high = 0;
    for (qint32 i = 0; i <= capture.CaptureEnd(); ++i) {
        const std::uint8_t streamByte = capture.at(i);
        const std::uint8_t tag = tagOf(streamByte);
        if (!tagMayFollow(previous, tag)) {
            result.errorOffset = i;
            break;
        }
        if (streamByte == EndCode)
            break;
        previous = tag;
        if (tag == StreamTag::J1High || tag == StreamTag::J2High) {
            high = dataValueOf(streamByte);
        } else if (tag == StreamTag::J1Low || tag == StreamTag::J2Low) {
            const Direction direction = tag == StreamTag::J1Low ? Direction::J1 : Direction::J2;
            result.bytes.append({i, direction, std::uint8_t((high << 4) | dataValueOf(streamByte))});
        }
    }
    return result;
}

} // namespace ferrox
