#pragma once

#include <QtGlobal>

namespace ferrox {

class CaptureBuffer;

// SequenceErrorCount: the tag-sequence errors of positions 0 to CaptureEnd.
// The scan starts as if a complete byte had just ended, so a stream that
// opens with a low nibble counts an error for its first byte.
qint32 ExamineMonitorData(const CaptureBuffer &capture);

} // namespace ferrox
