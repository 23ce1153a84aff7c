// Tag-sequence check of a capture.
#include "datatesting.h"

#include "data/examine.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(ExamineMonitorData, CountsMisplacedTags)
{
    struct Case { const char *name; QByteArray stream; qint32 errors; };
    const Case cases[] = {
        {"sound exchange", bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}), 0},
        {"interleaved nibbles", bytes({0xA4, 0x80, 0xB1, 0x96, 0xFF}), 3},
        {"starts with J2 low", bytes({0x96, 0xFF}), 1},
        {"starts with J1 low", bytes({0xB6, 0xFF}), 1},
        {"only the end code", bytes({0xFF}), 0},
        {"0xF3 judged like the end code", bytes({0xA4, 0xB1, 0xF3}), 0},
        {"a high nibble after 0xF3", bytes({0xA4, 0xB1, 0xF3, 0x80, 0x96, 0xFF}), 1},
        {"0xF3 after a high nibble", bytes({0xA4, 0xF3, 0xB1, 0xFF}), 2},
        {"undefined tag", bytes({0xA4, 0xB1, 0x55, 0x80, 0x96, 0xFF}), 2},
        {"end code after a high nibble", bytes({0xA4, 0xFF}), 1},
        {"repeated low nibble", bytes({0xA4, 0xB1, 0xB1, 0xFF}), 1},
        {"no end code", bytes({0xA4, 0xB1}), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExamineMonitorData(streamOf(c.stream)), c.errors) << c.name;
}

TEST(StreamFormat, OneMonitoredByteIsTwoTaggedNibbles)
{
    // J1 sends 0x41, J2 answers 0x06.
    EXPECT_EQ(byJ1("A") + byJ2("\x06") + endCode(), bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}));
    const CaptureBuffer capture = streamOf({0xA4, 0xB1, 0x80, 0x96, 0xFF});
    EXPECT_EQ(capture.CaptureEnd(), 4);
    EXPECT_EQ(capture.DataByteCount(), 2);
    EXPECT_EQ(capture.at(capture.CaptureEnd()), 0xFF);
}

TEST(ExamineMonitorData, EveryTagPairFollowsTheTable)
{
    for (int previous = 0; previous < 16; ++previous) {
        for (int tag = 0; tag < 16; ++tag) {
            bool expected = false;
            if (tag == 0x8 || tag == 0xA || tag == 0xF)
                expected = previous == 0x9 || previous == 0xB;
            else if (tag == 0x9)
                expected = previous == 0x8;
            else if (tag == 0xB)
                expected = previous == 0xA;
            EXPECT_EQ(tagMayFollow(std::uint8_t(previous), std::uint8_t(tag)), expected)
                << previous << " then " << tag;
        }
    }
}

TEST(ExamineMonitorData, LooksNoFurtherThanCaptureEnd)
{
    CaptureBuffer capture = streamOf({0xA4, 0xB1, 0xFF});
    capture.setAt(3, 0x55); // past the end code
    EXPECT_EQ(ExamineMonitorData(capture), 0);
}

TEST(ExamineMonitorData, FullBufferOfSoundData)
{
    QByteArray raw;
    while (raw.size() < CaptureBuffer::LastIndex)
        raw += byJ1("\x41");
    raw.truncate(CaptureBuffer::LastIndex);
    raw += endCode();
    const CaptureBuffer capture = streamOf(raw);
    EXPECT_EQ(capture.CaptureEnd(), CaptureBuffer::LastIndex);
    EXPECT_EQ(ExamineMonitorData(capture), 0);
}
