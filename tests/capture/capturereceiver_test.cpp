// The receive loop on the port: reads on arrival, stops reading at the end.
#include "capture/capturereceiver.h"
#include "capturetesting.h"

#include "support/fakeserialport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class Receiving : public testing::Test
{
protected:
    Receiving()
    {
        port.open();
        QObject::connect(&receiver, &CaptureReceiver::stored, &receiver,
                         [this](const QByteArray &b, qint32 count) { storedBlocks << b, counts << count; });
    }

    qsizetype reads() const
    {
        return std::count_if(port.operations.begin(), port.operations.end(),
                             [](const QString &op) { return op.startsWith(QLatin1String("read")); });
    }

    FakeSerialPort port;
    CaptureRecorder recorder;
    CaptureReceiver receiver{port, recorder};
    QSignalSpy ended{&receiver, &CaptureReceiver::ended};
    QList<QByteArray> storedBlocks;
    QList<qint32> counts;
};

TEST_F(Receiving, StoresEveryBlockUntilTheEndCodeAndReadsNoMore)
{
    port.deliverNow(bytes({0xA4})); // waiting before the stream is read
    receiver.start();
    port.deliverNow(bytes({0xB1, 0x80}));
    port.deliverNow(bytes({0x96, 0xFF, 0xA4, 0xB1}));
    EXPECT_EQ(storedBlocks, (QList<QByteArray>{bytes({0xA4}), bytes({0xB1, 0x80}), bytes({0x96, 0xFF})}));
    EXPECT_EQ(counts, (QList<qint32>{1, 3, 4}));
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).at(0).value<CaptureRecorder::Exit>(), CaptureRecorder::Exit::EndCode);
    EXPECT_FALSE(receiver.isActive());
    EXPECT_EQ(recorder.capture().stream(), bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF}));

    const qsizetype readsAtEnd = reads();
    port.deliverNow(bytes({0x80, 0x96}));
    EXPECT_TRUE(reads() == readsAtEnd && ended.size() == 1);
}

TEST_F(Receiving, ANegativeWaitingCountEndsTheCaptureWithoutReading)
{
    receiver.start();
    port.deliverNow(bytes({0xA4, 0xB1}));
    const qsizetype readsBefore = reads();
    port.deliverNow(j1Stream(40000));
    EXPECT_EQ(reads(), readsBefore);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).at(0).value<CaptureRecorder::Exit>(), CaptureRecorder::Exit::DataRate);
    EXPECT_EQ(recorder.capture().stream(), bytes({0xA4, 0xB1, 0xFF}));
    EXPECT_LT(port.bytesWaiting(), 0) << "the waiting bytes are left to the stop";
}

TEST_F(Receiving, PortErrorsAreReportedAndStopEndsReading)
{
    QSignalSpy errors(&receiver, &CaptureReceiver::portError);
    receiver.start();
    port.raiseLineError(9);
    ASSERT_TRUE(errors.wait(1000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), 9);
    EXPECT_TRUE(receiver.isActive());

    receiver.stop();
    port.deliverNow(bytes({0xA4, 0xB1}));
    EXPECT_TRUE(storedBlocks.isEmpty() && ended.isEmpty());
    EXPECT_TRUE(recorder.isRunning()) << "stopping reading does not end the capture";
}

} // namespace
