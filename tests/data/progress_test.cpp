// The tag-sequence check of a capture, and the progress of a rendering on the status line's grid.
#include "datatesting.h"

#include "data/examine.h"
#include "data/progressgrid.h"
#include "data/renderer.h"

#include <vector>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

std::vector<qint32> reports(qint32 mode, const CaptureBuffer &capture)
{
    std::vector<qint32> seen;
    renderMonitorData(mode, capture, testHeader(), [&](qint32 r) { seen.push_back(r); });
    return seen;
}

} // namespace

TEST(RenderProgress, EachModeReportsOnItsGrid)
{
    QByteArray forty; // stream bytes of a sound stream, before its end code
    for (int i = 0; i < 20; ++i)
        forty += (i % 3 == 0) ? byJ2("\x06") : byJ1("A");
    std::vector<qint32> everyFifth;
    for (int r = 100; r >= 0; r -= 5)
        everyFifth.push_back(r);
    // The exchange mode counts from i + 2: r = 100 - 2.5 (i + 2), on a grid of 2.
    const std::vector<qint32> exchange = {92, 90, 88, 82, 80, 78, 72, 70, 68, 62, 60, 58, 52, 50, 48,
                                          42, 40, 38, 32, 30, 28, 22, 20, 18, 12, 10, 8, 2, 0, -2};
    const struct { const char *name; std::vector<qint32> modes; CaptureBuffer capture; std::vector<qint32> reports; } cases[] = {
        {"forty stream bytes", {1, 2, 3, 5}, streamOf(forty + endCode()), everyFifth},
        {"forty stream bytes", {4}, streamOf(forty + endCode()), exchange},
        // -100 and -200 remaining, which the status line shows as a full bar
        // (found by fuzzing: the bound is -200 / CaptureEnd, not -100).
        {"one low nibble", {4}, streamOf({0xB1, 0xFF}), {-100, -200}},
        {"only the end code", {1, 4}, streamOf({0xFF}), {}},
        {"stops at the first end code", {1}, streamOf({0xFF, 0xA4, 0xB1, 0xA4, 0xB1, 0xFF}), {100}},
        // Steps wider than the grid report only the values landing on it.
        {"three stream bytes", {1}, streamOf({0xA4, 0xB1, 0xA4, 0xFF}), {100, 0}},
    };
    for (const auto &c : cases) {
        for (qint32 mode : c.modes)
            EXPECT_EQ(reports(mode, c.capture), c.reports) << c.name << ", mode " << mode;
    }
}

// Halves go to the even neighbour: the exchange mode's 92.5, 87.5 and -2.5 above.
TEST(RenderProgress, ATinyNegativeRemainderIsZero)
{
    EXPECT_EQ(ProgressGrid::remainingAt(262144, 262144, 2), 0); // -0.00076
}

// Which tag may follow which is the stream format's rule (proven for every
// pair there); here, that every pair breaking it counts once.
TEST(ExamineMonitorData, CountsMisplacedTags)
{
    const struct { const char *name; QByteArray stream; qint32 errors; } cases[] = {
        {"sound exchange", bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}), 0},
        {"interleaved nibbles", bytes({0xA4, 0x80, 0xB1, 0x96, 0xFF}), 3},
        {"0xF3 judged like the end code", bytes({0xA4, 0xB1, 0xF3}), 0},
        {"undefined tag", bytes({0xA4, 0xB1, 0x55, 0x80, 0x96, 0xFF}), 2},
    };
    for (const auto &c : cases)
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
