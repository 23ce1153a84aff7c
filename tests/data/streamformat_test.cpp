// Every tag through the one decoder of the stream format: what it means to
// the renderers, the capture check and the timeline, and how the two live
// readers join nibbles by its bits.
#include "data/streamformat.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

enum class Live { High, Completes, Skipped };

struct Row
{
    TagKind kind;
    Direction sender;
    Live captureView;   // b AND 0x50: 0x00 high, 0x10 completes, 0x40/0x50 skipped
    Live simpleMonitor; // b AND 0x10 alone
};

constexpr Direction none = Direction::None;
constexpr TagKind error = TagKind::Undefined;

const Row rows[16] = {
    {error, none, Live::High, Live::High},                       // 0x0
    {error, none, Live::Completes, Live::Completes},             // 0x1
    {error, none, Live::High, Live::High},                       // 0x2
    {error, none, Live::Completes, Live::Completes},             // 0x3
    {error, none, Live::Skipped, Live::High},                    // 0x4
    {error, none, Live::Skipped, Live::Completes},               // 0x5
    {error, none, Live::Skipped, Live::High},                    // 0x6
    {error, none, Live::Skipped, Live::Completes},               // 0x7
    {TagKind::High, Direction::J2, Live::High, Live::High},      // 0x8
    {TagKind::Low, Direction::J2, Live::Completes, Live::Completes}, // 0x9
    {TagKind::High, Direction::J1, Live::High, Live::High},      // 0xA
    {TagKind::Low, Direction::J1, Live::Completes, Live::Completes}, // 0xB
    {error, none, Live::Skipped, Live::High},                    // 0xC
    {error, none, Live::Skipped, Live::Completes},               // 0xD
    {error, none, Live::Skipped, Live::High},                    // 0xE
    {TagKind::Final, none, Live::Skipped, Live::Completes},      // 0xF, the end code's
};

Live captureViewOf(const StreamTagMeaning &tag)
{
    return tag.skippedByCaptureView ? Live::Skipped : tag.completesByBit ? Live::Completes : Live::High;
}

TEST(StreamFormat, EveryTagMeansTheSameToEveryReaderWhateverItsData)
{
    for (int byte = 0; byte < 256; ++byte) {
        const Row &row = rows[byte >> 4];
        const StreamTagMeaning &tag = decodeTag(std::uint8_t(byte));
        EXPECT_EQ(tag.kind, row.kind) << byte;
        EXPECT_EQ(tag.sender, row.sender) << byte;
        EXPECT_EQ(captureViewOf(tag), row.captureView) << byte;
        EXPECT_EQ(tag.completesByBit ? Live::Completes : Live::High, row.simpleMonitor) << byte;
    }
}

// A high nibble or the end code only after a completed byte, a low nibble
// only after its own sender's high nibble, an undefined tag never.
TEST(StreamFormat, EachTagMayFollowOnlyWhatCompletesTheSequence)
{
    for (int previous = 0; previous < 16; ++previous) {
        for (int next = 0; next < 16; ++next) {
            const bool afterByte = previous == 0x9 || previous == 0xB;
            const bool expected = ((next == 0x8 || next == 0xA || next == 0xF) && afterByte)
                || (next == 0x9 && previous == 0x8) || (next == 0xB && previous == 0xA);
            EXPECT_EQ(tagMayFollow(decodeTag(std::uint8_t(previous << 4)), decodeTag(std::uint8_t(next << 4 | 0x5))),
                      expected)
                << previous << " then " << next;
        }
    }
    EXPECT_TRUE(tagMayFollow(byteCompleted(), decodeTag(0xA4)));
    EXPECT_FALSE(tagMayFollow(byteCompleted(), decodeTag(0xB4)));
}

} // namespace
