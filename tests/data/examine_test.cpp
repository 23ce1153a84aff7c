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
        {"0xF3 judged like the end code", bytes({0xA4, 0xB1, 0xF3}), 0},
        {"a high nibble after 0xF3", bytes({0xA4, 0xB1, 0xF3, 0x80, 0x96, 0xFF}), 1},
        {"0xF3 after a high nibble", bytes({0xA4, 0xF3, 0xB1, 0xFF}), 2},
        {"undefined tag", bytes({0xA4, 0xB1, 0x55, 0x80, 0x96, 0xFF}), 2},
        {"end code after a high nibble", bytes({0xA4, 0xFF}), 1},
        {"repeated low nibble", bytes({0xA4, 0xB1, 0xB1, 0xFF}), 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExamineMonitorData(streamOf(c.stream)), c.errors) << c.name;
}

TEST(ExamineMonitorData, LooksNoFurtherThanCaptureEndEvenInAFullBuffer)
{
    CaptureBuffer capture = streamOf({0xA4, 0xB1, 0xFF});
    capture.setAt(3, 0x55); // past the end code
    EXPECT_EQ(ExamineMonitorData(capture), 0);
    const CaptureBuffer full = streamOf(byJ1(QByteArray(CaptureBuffer::LastIndex / 2, 'A')) + endCode());
    EXPECT_EQ(full.CaptureEnd(), CaptureBuffer::LastIndex);
    EXPECT_EQ(ExamineMonitorData(full), 0);
}
