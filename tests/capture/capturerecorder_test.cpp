// Storing the stream: where it ends, what is kept, what is dropped; and
// the receive loop feeding it from the port.
#include "capture/capturereceiver.h"
#include "capture/capturerecorder.h"
#include "capturetesting.h"

#include <QList>
#include <QSignalSpy>
#include <gtest/gtest.h>


using namespace ferrox;
using namespace ferrox::test;

namespace {

using Exit = CaptureRecorder::Exit;
constexpr qint32 limit = 262144;

TEST(CaptureRecorder, EndsWhereTheStreamSays)
{
    // stored: what feed() took of each block; captureEnd: also CaptureCount
    // once ended; tail: the last bytes of the stream, end code included;
    // endedByProgram: the program ends the stream after the blocks.
    const struct { const char *name; QList<QByteArray> blocks; QList<qsizetype> stored; Exit exit; qint32 captureEnd;
                   QByteArray tail; bool endedByProgram = false; } cases[] = {
        {"end code as the very first byte", {bytes({0xFF, 0xA4, 0xB1})}, {1}, Exit::EndCode, 0, endCode},
        {"the rest and blocks after the end are not read", {bytes({0xA4, 0xB1, 0x80}), bytes({0x96, 0xFF, 0x80}), bytes({0xA4})},
         {3, 2, 0}, Exit::EndCode, 4, bytes({0x80, 0x96, 0xFF})},
        {"0xF3 is no end code", {bytes({0xA4, 0xB1, 0xF3, 0xFF})}, {4}, Exit::EndCode, 3, bytes({0xF3, 0xFF})},
        {"exactly the limit overflows", {j1Stream(limit)}, {limit}, Exit::Overflow, limit,
         j1Stream(limit).right(2) + endCode},
        {"the limit reached across blocks", {j1Stream(limit - 3), j1Stream(10)}, {limit - 3, 3}, Exit::Overflow, limit,
         j1Stream(3).right(1) + endCode},
        {"an end code after the limit is dropped", {j1Stream(limit) + endCode + j1Stream(2)}, {limit}, Exit::Overflow,
         limit, j1Stream(limit).right(1) + endCode},
        {"an end code at the last index before the limit", {j1Stream(limit - 1) + endCode}, {limit}, Exit::EndCode,
         limit - 1, j1Stream(limit - 1).right(1) + endCode},
        {"ended by the program, what arrived is kept", {bytes({0xA4, 0xB1, 0x80, 0x96})}, {4}, Exit::Unfinished, 4,
         bytes({0x80, 0x96, 0xFF}), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CaptureRecorder recorder;
        recorder.start();
        QList<qsizetype> stored;
        for (const QByteArray &block : c.blocks)
            stored << recorder.feed(block);
        if (c.endedByProgram)
            recorder.endStream();
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(recorder.exit(), c.exit);
        EXPECT_FALSE(recorder.isRunning());
        EXPECT_EQ(recorder.CaptureCount(), c.captureEnd);
        EXPECT_EQ(recorder.capture().CaptureEnd(), c.captureEnd);
        EXPECT_EQ(recorder.monitoredBytes(), c.captureEnd / 2);
        const CaptureBuffer &capture = recorder.capture();
        ASSERT_EQ(capture.stream().size(), c.captureEnd + 1);
        EXPECT_TRUE(capture.stream().endsWith(c.tail));
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
    recorder.feed(j1Stream(100) + endCode);
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

// The receive loop on the port: reads on arrival, stops reading at the end.
class Receiving : public testing::Test
{
protected:
    Receiving()
    {
        port.open();
        QObject::connect(&receiver, &CaptureReceiver::stored, &receiver,
                         [this](const QByteArray &b, qint32 count) {
                             storedBlocks << b;
                             counts << count;
                         });
    }

    qsizetype reads() const { return port.operations.filter(QStringLiteral("read ")).size(); }

    FakeSerialPort port;
    CaptureRecorder recorder;
    CaptureReceiver receiver{recorder};
    QSignalSpy ended{&receiver, &CaptureReceiver::ended};
    QList<QByteArray> storedBlocks;
    QList<qint32> counts;
};

TEST_F(Receiving, StoresEveryBlockUntilTheEndCodeAndReadsNoMore)
{
    port.deliverNow(bytes({0xA4})); // waiting before the stream is read
    receiver.start(port);
    port.deliverNow(bytes({0xB1, 0x80}));
    port.deliverNow(bytes({0x96, 0xFF, 0xA4, 0xB1}));
    EXPECT_EQ(storedBlocks, (QList<QByteArray>{bytes({0xA4}), bytes({0xB1, 0x80}), bytes({0x96, 0xFF})}));
    EXPECT_EQ(counts, (QList<qint32>{1, 3, 4}));
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).at(0).value<Exit>(), Exit::EndCode);
    EXPECT_FALSE(receiver.isActive());
    EXPECT_EQ(recorder.capture().stream(), bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}));

    const qsizetype readsAtEnd = reads();
    port.deliverNow(bytes({0x80, 0x96}));
    EXPECT_EQ(reads(), readsAtEnd);
    EXPECT_EQ(ended.size(), 1);
}

TEST_F(Receiving, ANegativeWaitingCountEndsTheCaptureWithoutReading)
{
    receiver.start(port);
    port.deliverNow(bytes({0xA4, 0xB1}));
    const qsizetype readsBefore = reads();
    port.deliverNow(j1Stream(40000));
    EXPECT_EQ(reads(), readsBefore);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).at(0).value<Exit>(), Exit::DataRate);
    EXPECT_EQ(recorder.capture().stream(), bytes({0xA4, 0xB1, 0xFF}));
    EXPECT_LT(port.bytesWaiting(), 0) << "the waiting bytes are left to the stop";
}

TEST_F(Receiving, PortErrorsAreReportedAndStopEndsReading)
{
    QSignalSpy errors(&receiver, &CaptureReceiver::portError);
    receiver.start(port);
    port.raiseLineError(9);
    ASSERT_TRUE(errors.wait(1000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), 9);
    EXPECT_TRUE(receiver.isActive());

    receiver.stop();
    port.deliverNow(bytes({0xA4, 0xB1}));
    EXPECT_TRUE(storedBlocks.isEmpty());
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_TRUE(recorder.isRunning()) << "stopping reading does not end the capture";
}

} // namespace
