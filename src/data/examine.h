#pragma once

#include <QtGlobal>

#include <cstdint>

namespace ferrox {

class CaptureBuffer;

// Whether a stream byte with tag `tag` may follow one with tag `previous`:
// a high nibble or the end code (0x8, 0xA, 0xF) only after a completed
// byte (0x9, 0xB), 0x9 only after 0x8, 0xB only after 0xA, other tags never.
bool tagMayFollow(std::uint8_t previous, std::uint8_t tag);

// SequenceErrorCount: the tag-sequence errors of positions 0 to CaptureEnd.
// The scan starts as if a complete byte had just ended, so a stream that
// opens with a low nibble counts an error for its first byte.
qint32 ExamineMonitorData(const CaptureBuffer &capture);

} // namespace ferrox
