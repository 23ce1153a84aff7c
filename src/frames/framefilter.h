#pragma once

#include "frame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// A byte sequence to look for, as typed in hexadecimal: an odd last digit
// is the high nibble of one more byte ("018" finds 01 80 … 01 8F).
struct BytePattern
{
    QByteArray bytes;
    std::optional<std::uint8_t> highNibble; // 0x0–0xF

    BytePattern() = default;
    BytePattern(QByteArray whole) : bytes(std::move(whole)) {}

    bool isEmpty() const { return bytes.isEmpty() && !highNibble; }
    bool foundIn(QByteArrayView haystack) const;
    // The digits, upper case, without spaces: "018".
    QString hex() const;
    // Hexadecimal digits, spaces between them allowed; empty for anything
    // else, and for no digit at all.
    static std::optional<BytePattern> fromHex(QStringView text);

    friend bool operator==(const BytePattern &, const BytePattern &) = default;
};

// What a pattern typed in the frame view's filter, find or highlight
// means: "hex:" (in any case) and hexadecimal for bytes, anything else a
// text. Empty when the hexadecimal cannot be read.
struct TypedPattern
{
    BytePattern bytes;
    QString text;
};
std::optional<TypedPattern> typedPattern(const QString &typed);

// Which frames to show: one side only, failed frames only, frames
// holding a byte pattern or whose text (characters or summary) holds a
// text, frames with any of some kinds, and responses slower than a time.
// Empty parts let every frame through.
struct FrameFilter
{
    std::optional<Direction> direction;
    bool failedOnly = false;
    BytePattern bytes;
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

// A time typed in milliseconds (decimals allowed) from 0 to mostMillis, in
// microseconds; empty for anything else, NaN included.
std::optional<qint64> microsFromMillis(const QString &text, double mostMillis);

} // namespace ferrox
