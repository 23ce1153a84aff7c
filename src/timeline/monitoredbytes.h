#pragma once

#include "data/capturebuffer.h"
#include "data/streamformat.h"

#include <QList>

#include <cstdint>

namespace ferrox {

// One monitored byte of the line, assembled from its two stream bytes.
struct MonitoredByte
{
    qint32 offset = 0; // stream offset of its low nibble, the byte that completes it
    Direction direction = Direction::None;
    std::uint8_t value = 0;
};

// The monitored bytes of a stream, as far as the stream is sound.
struct MonitoredBytes
{
    QList<MonitoredByte> bytes;
    // The stream offset of the first byte that breaks the tag sequence
    // (the rule the capture check applies); -1 when the stream is sound up
    // to its end code or CaptureEnd. Nothing from there on is taken.
    qint32 errorOffset = -1;
};

// Assembles the stream's monitored bytes up to its first end code (or
// CaptureEnd). A stray 0xF? byte between bytes is skipped; a high nibble
// left without its low nibble at the end is not a byte.
MonitoredBytes assembleMonitoredBytes(const CaptureBuffer &capture);

} // namespace ferrox
