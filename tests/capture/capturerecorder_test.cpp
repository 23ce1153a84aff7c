// Storing the stream: where it ends, what is kept, what is dropped.
#include "capture/capturerecorder.h"
#include "data/datatesting.h"

#include <QList>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

using Exit = CaptureRecorder::Exit;
constexpr qint32 limit = 262144;

// count stream bytes of monitored bytes sent by J1 (A?, B?), without an
// end code anywhere.
QByteArray j1Stream(qsizetype count)
{
    QByteArray out(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        out[i] = char((i % 2 == 0 ? 0xA0 : 0xB0) | ((i / 2) & 0x0F));
    return out;
}

// How a capture can end besides what its stream says.
void byTheProgram(CaptureRecorder &recorder) { recorder.endStream(); }
// The port reported more than 32,767 waiting bytes: they are never read.
void byAFlood(CaptureRecorder &recorder) { recorder.checkWaitingCount(-1); }

TEST(CaptureRecorder, EndsWhereTheStreamSays)
{
    // stored: what feed() took of each block; captureEnd: also CaptureCount
    // once ended; tail: the last bytes of the stream, end code included;
    // after: what ends the capture once the blocks are fed, if anything.
    // cut: a lone high half was dropped at the end.
    const struct { const char *name; QList<QByteArray> blocks; QList<qsizetype> stored; Exit exit; qint32 captureEnd;
                   QByteArray tail; void (*after)(CaptureRecorder &) = nullptr; bool cut = false; } cases[] = {
        {"end code as the very first byte", {bytes({0xFF, 0xA4, 0xB1})}, {1}, Exit::EndCode, 0, endCode()},
        {"the rest and blocks after the end are not read", {bytes({0xA4, 0xB1, 0x80}), bytes({0x96, 0xFF, 0x80}), bytes({0xA4})},
         {3, 2, 0}, Exit::EndCode, 4, bytes({0x80, 0x96, 0xFF})},
        {"0xF3 is no end code", {bytes({0xA4, 0xB1, 0xF3, 0xFF})}, {4}, Exit::EndCode, 3, bytes({0xF3, 0xFF})},
        {"the limit reached across blocks", {j1Stream(limit - 3), j1Stream(10)}, {limit - 3, 3}, Exit::Overflow, limit,
         j1Stream(3).right(1) + endCode()},
        {"an end code after the limit is dropped", {j1Stream(limit) + endCode() + j1Stream(2)}, {limit}, Exit::Overflow,
         limit, j1Stream(limit).right(1) + endCode()},
        {"an end code at the last index before the limit", {j1Stream(limit - 1) + endCode()}, {limit}, Exit::EndCode,
         limit - 1, j1Stream(limit - 1).right(1) + endCode()},
        {"ended by the program, what arrived is kept", {bytes({0xA4, 0xB1, 0x80, 0x96})}, {4}, Exit::Unfinished, 4,
         bytes({0x80, 0x96, 0xFF}), byTheProgram},
        {"a flood ends it, what arrived is kept", {bytes({0xA4, 0xB1})}, {2}, Exit::DataRate, 2, bytes({0xB1, 0xFF}),
         byAFlood},
        // The program's own ending never leaves a byte's high half alone
        // before the end code; the board's end code after one is its error.
        {"ended by the program between the halves of a byte", {bytes({0xA4, 0xB1}), bytes({0x80})}, {2, 1},
         Exit::Unfinished, 2, bytes({0xB1, 0xFF}), byTheProgram, true},
        {"a flood between the halves of a byte", {bytes({0xA4, 0xB1, 0xA5})}, {3}, Exit::DataRate, 2,
         bytes({0xB1, 0xFF}), byAFlood, true},
        {"the board's end code after a high half", {bytes({0xA4, 0xB1, 0xA5, 0xFF})}, {4}, Exit::EndCode, 3,
         bytes({0xA5, 0xFF})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CaptureRecorder recorder;
        recorder.start();
        QList<qsizetype> stored;
        for (const QByteArray &block : c.blocks)
            stored << recorder.feed(block);
        if (c.after)
            c.after(recorder);
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(recorder.exit(), c.exit);
        EXPECT_EQ(recorder.lastByteCut(), c.cut);
        EXPECT_FALSE(recorder.isRunning());
        EXPECT_EQ(recorder.CaptureCount(), c.captureEnd);
        const CaptureBuffer &capture = recorder.capture();
        ASSERT_EQ(capture.stream().size(), c.captureEnd + 1);
        EXPECT_EQ(capture.stream().last(c.tail.size()), QByteArrayView(c.tail));
        // Whatever came before the end is the blocks' bytes, in order.
        EXPECT_EQ(capture.stream().first(c.captureEnd), QByteArrayView(c.blocks.join()).first(c.captureEnd));
        // An ended capture is not ended again.
        EXPECT_FALSE(recorder.checkWaitingCount(-5));
        recorder.endStream();
        EXPECT_EQ(recorder.exit(), c.exit);
    }
}

TEST(CaptureRecorder, NothingIsStoredBeforeStartAndEveryStartIsFresh)
{
    CaptureRecorder recorder;
    EXPECT_FALSE(recorder.isRunning());
    EXPECT_EQ(recorder.feed(bytes({0xA4, 0xB1})), 0);
    EXPECT_EQ(recorder.CaptureCount(), 0);
    recorder.start();
    recorder.feed(j1Stream(100) + endCode());
    ASSERT_EQ(recorder.capture().CaptureEnd(), 100);

    recorder.start();
    EXPECT_TRUE(recorder.isRunning());
    EXPECT_EQ(recorder.exit(), Exit::Running);
    EXPECT_EQ(recorder.CaptureCount(), 0);
    for (qint32 i = 0; i <= 100; ++i)
        ASSERT_EQ(recorder.capture().at(i), 0) << i;
    recorder.feed(bytes({0x80, 0x96, 0xFF}));
    EXPECT_EQ(recorder.capture().stream(), bytes({0x80, 0x96, 0xFF}));
}

} // namespace
