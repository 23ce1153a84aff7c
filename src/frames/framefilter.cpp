#include "framefilter.h"

#include "framecharacters.h"

namespace ferrox {

bool FrameFilter::accepts(const Frame &frame) const
{
    if (direction && frame.direction != *direction)
        return false;
    if (failedOnly && frame.verdict != FrameVerdict::Bad)
        return false;
    if (!bytes.isEmpty() && !frame.bytes.contains(bytes))
        return false;
    return text.isEmpty() || frame.summary.contains(text, Qt::CaseInsensitive)
        || frameCharacters(frame.bytes).contains(text, Qt::CaseInsensitive);
}

} // namespace ferrox
