#include "capture/livetextlines.h"

#include <QList>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

// A time whose milliseconds are 123, in every time zone.
constexpr qint64 At = 1'700'000'096'123'456;
constexpr qint64 Gap = 20'000;

std::vector<LiveByte> from(Direction sender, std::initializer_list<std::uint8_t> values)
{
    std::vector<LiveByte> bytes;
    for (const std::uint8_t v : values)
        bytes.push_back({v, sender});
    return bytes;
}

// The lines without their times (the first 8 characters, local time).
QList<QByteArray> untimed(const QByteArray &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &line : lines.split('\n'))
        if (!line.isEmpty())
            out << line.mid(8);
    return out;
}

} // namespace

TEST(LiveTextLines, LinesEndAtASenderChangeAGapOrSixteenBytes)
{
    LiveTextLines lines(LiveTextLines::Form::Lines, Gap);
    QByteArray out = lines.feed(from(Direction::J2, {0x41}), At);
    out += lines.feed(from(Direction::J2, {0x42}), At + Gap - 1); // no gap yet
    out += lines.feed(from(Direction::J1, {0x43}), At + Gap);     // another sender
    out += lines.feed(from(Direction::J1, {0x44}), At + 2 * Gap); // a gap
    out += lines.feed(from(Direction::None, {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                                             0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x7F}),
                      At + 2 * Gap + 1);
    out += lines.flush();
    EXPECT_EQ(untimed(out), QList<QByteArray>({
                                ".123 J2> 41 42  AB",
                                ".143 J1> 43  C",
                                ".163 J1> 44  D",
                                ".163 --> 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  ................",
                                ".163 --> 7F  .",
                            }));
}
