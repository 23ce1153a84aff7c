#include "boardtesting.h"
#include "support/inprocessboard.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::InProcessBoard;
using ferrox::test::waitUntil;

TEST(BoardInProcess, AnswersArriveAtTheFakePortFromTheEventLoop)
{
    InProcessBoard board;
    auto &port = board.port();
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.write(QByteArray("V")));
    EXPECT_EQ(port.bytesWaiting(), 0); // not yet: replies travel
    QSignalSpy arrived(&port, &SerialPort::bytesArrived);
    ASSERT_TRUE(arrived.wait(2000));
    EXPECT_EQ(port.readAll(), QByteArray("Ferrox LM V1.05  9600\r"));
}

TEST(BoardInProcess, PortSettingsDecideWhetherTheBoardHears)
{
    BoardConfig config;
    config.jumper = 115200;
    InProcessBoard board(config);
    auto &port = board.port();
    ASSERT_TRUE(port.open()); // " 57600,n,8,1": the wrong speed for this jumper
    ASSERT_TRUE(port.write(QByteArray("V")));
    QTest::qWait(50);
    EXPECT_EQ(port.bytesWaiting(), 0);

    port.setSettings(QStringLiteral("115200,n,8,1"));
    ASSERT_TRUE(port.write(QByteArray("V")));
    EXPECT_TRUE(waitUntil([&] { return port.bytesWaiting() >= 22; }));
}

TEST(BoardInProcess, ACaptureRunsThroughThePort)
{
    BoardConfig config;
    config.rate = 100'000;
    config.traffic = QStringLiteral("random:1");
    InProcessBoard board(config);
    auto &port = board.port();
    ASSERT_TRUE(port.open());
    port.write(QByteArray("4"));
    port.write(QByteArray("G"));
    QByteArray stream;
    ASSERT_TRUE(waitUntil([&] {
        stream += port.readAll();
        return !board.engine().hasTrafficPending();
    }));
    port.write(QByteArray("E"));
    ASSERT_TRUE(waitUntil([&] {
        stream += port.readAll();
        return stream.endsWith('\xFF');
    }));
    EXPECT_EQ(stream.size(), 2 * 2048 + 1);
    EXPECT_EQ(test::tagSequenceErrors(stream), 0);
}
