#pragma once

#include "frame.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

// Which frames to show: one side only, failed frames only, and frames
// holding a byte pattern or whose text (characters or summary) holds a
// text. Empty parts let every frame through.
struct FrameFilter
{
    std::optional<Direction> direction;
    bool failedOnly = false;
    QByteArray bytes;
    QString text;

    bool accepts(const Frame &frame) const;
};

} // namespace ferrox
