// Every tag through the one decoder of the stream format: what it means to
// the renderers, the capture check and the timeline, and how the two live
// readers join nibbles by its bits.
#include "data/streamformat.h"

#include <QByteArray>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

// The live readers join nibbles by bits, never by meaning: the bit 0x10
// completes a byte, the bit 0x40 makes the capture's live view skip it.
TEST(StreamFormat, TheLiveReadersBitsHoldForEveryByte)
{
    for (int byte = 0; byte < 256; ++byte) {
        const StreamTagMeaning &tag = decodeTag(std::uint8_t(byte));
        EXPECT_EQ(tag.completesByBit, (byte & 0x10) != 0) << byte;
        EXPECT_EQ(tag.skippedByCaptureView, (byte & 0x40) != 0) << byte;
    }
}

// The renderers take a sound byte's two stream bytes in one step, by bits.
TEST(StreamFormat, ASoundPairIsAHighNibbleAndItsSendersLowNibble)
{
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const StreamTagMeaning &high = decodeTag(std::uint8_t(first));
            const StreamTagMeaning &low = decodeTag(std::uint8_t(second));
            const bool sound = high.kind == TagKind::High && low.kind == TagKind::Low && high.sender == low.sender;
            ASSERT_EQ(isSoundPair(std::uint8_t(first), std::uint8_t(second)), sound) << first << " then " << second;
        }
    }
}

// A run of sound bytes ends before the first pair with other tags, at the
// end of the positions given or at the most asked for: every place of that
// pair within the words the run is read in, near the end of the positions
// too.
TEST(StreamFormat, ASoundRunEndsAtTheFirstOtherPairOrItsBound)
{
    for (int length = 1; length <= 20; ++length) {
        for (const std::uint8_t other : {0x84, 0xB4, 0x00, 0xFF}) {
            QByteArray stream;
            for (int i = 0; i < length; ++i)
                stream.append(char(0xA4)).append(char(0xB1));
            stream.append(char(other)).append(char(0xB1));
            stream.append(QByteArray(16, char(0xA4)));
            const char *at = stream.constData();
            EXPECT_EQ(soundRunLength(at, 0, stream.size(), 1024), length) << length << ", " << int(other);
            // The end of the positions cuts it: a pair needs both its halves before the end.
            EXPECT_EQ(soundRunLength(at, 0, 2 * length - 1, 1024), length - 1) << length;
            if (length > 1) {
                EXPECT_EQ(soundRunLength(at, 0, stream.size(), length - 1), length - 1) << length;
            }
        }
    }
}

// A high nibble or the end code only after a completed byte, a low nibble
// only after its own sender's high nibble, an undefined tag never: over all
// sixteen tags, which also holds each tag's kind and sender to its place.
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
