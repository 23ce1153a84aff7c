#pragma once

#include "frame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// Which frames to show: one side only, failed frames only, frames
// holding a byte pattern or whose text (characters or summary) holds a
// text, frames with any of some kinds, and responses slower than a time.
// Empty parts let every frame through.
struct FrameFilter
{
    std::optional<Direction> direction;
    bool failedOnly = false;
    QByteArray bytes;
    QString text;
    FrameKinds kinds;
    std::optional<qint64> slowerThanMicros; // response time above it

    bool accepts(const Frame &frame) const;
};

// The filter a word names, as `decode --only` takes it: "j1", "j2",
// "errors" (failed frames), "exceptions", a kind's name ("crc",
// "unpaired" …), or "slow:MS" (responses slower than MS milliseconds,
// decimals allowed). Empty for any other word.
std::optional<FrameFilter> frameFilterNamed(const QString &word);

// The words frameFilterNamed() takes, for usage texts.
QStringList frameFilterNames();

} // namespace ferrox
