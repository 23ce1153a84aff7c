#include "board/boardengine.h"
#include "board/traffic.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

// J1 sends 0x41, J2 answers 0x06, J1 sends 0x0D, J2 sends 0xF3.
const QByteArray shortTraffic("\xA4\xB1\x80\x96\xA0\xBD\x8F\x93", 8);
const QByteArray j1Only("\xA4\xB1\xA0\xBD", 4);
const QByteArray j2Only("\x80\x96\x8F\x93", 4);

// An engine with everything it sends gathered.
struct TestBoard
{
    explicit TestBoard(const BoardConfig &config = {}) : engine(config, shortTraffic)
    {
        QObject::connect(&engine, &BoardEngine::output, &engine, [this](const QByteArray &bytes) {
            received += bytes;
            chunks << bytes;
        });
    }
    // What the board answers to commands at once; received keeps it too.
    QByteArray ask(const QByteArray &commands)
    {
        const qsizetype before = received.size();
        engine.receive(commands);
        return received.mid(before);
    }
    bool waitFor(qsizetype bytes) { return QTest::qWaitFor([&] { return received.size() >= bytes; }, 5000); }
    bool waitForTrafficSent() { return QTest::qWaitFor([&] { return !engine.hasTrafficPending(); }, 5000); }

    BoardEngine engine;
    QByteArray received;
    QList<QByteArray> chunks; // each output() apart
};

} // namespace

TEST(BoardEngineQueries, SignalsAnswersInOneChunkAndUnknownBytes)
{
    TestBoard board({.signalMask = 0x7F});
    EXPECT_EQ(board.ask("S").left(1), QByteArray("\x7F"));
    EXPECT_EQ(board.ask("SV").size(), 24);
    EXPECT_EQ(board.chunks.size(), 2); // the answers to one write leave as one chunk
    EXPECT_TRUE(board.ask(QByteArray("xz\x00\xFF\r", 5)).isEmpty());
    EXPECT_EQ(board.engine.state(), BoardEngine::State::Idle);
}

TEST(BoardEngineStream, DirectionsFilterTheTrafficAndStopEndsWithTheEndCode)
{
    const QList<std::pair<char, QByteArray>> cases{{'G', shortTraffic}, {'A', j2Only}, {'B', j1Only}};
    for (const auto &[command, expected] : cases) {
        SCOPED_TRACE(command);
        TestBoard board({.rate = 100'000});
        board.ask(QByteArray(1, command));
        EXPECT_EQ(board.engine.direction(), command);
        ASSERT_TRUE(board.waitForTrafficSent());
        EXPECT_EQ(board.received, expected);
        // Idle after the traffic, but still streaming until told to stop.
        EXPECT_TRUE(board.engine.isStreaming());
        EXPECT_EQ(board.ask("E"), QByteArray("\xFF", 1));
        EXPECT_FALSE(board.engine.isStreaming());
    }
}

TEST(BoardEngineStream, StopWithoutAStreamSendsNoEndCode)
{
    EXPECT_TRUE(TestBoard().ask("E").isEmpty());
}

TEST(BoardEngineStream, StopAndOtherCommandsNeverSplitAMonitoredByte)
{
    BoardConfig config{.rate = 1, .flood = 3}; // nothing paced during the test
    TestBoard board(config);
    // The flood leaves J2's high nibble 0x80 out alone; 'E' sends its low
    // nibble before the end code.
    EXPECT_EQ(board.ask("GE"), shortTraffic.left(4) + '\xFF');

    // Any other accepted command ends the stream without an end code.
    config.flood = 2;
    for (const char command : {'V', 'S', '3', 'D', 'A'}) {
        TestBoard other(config);
        other.ask("G");
        EXPECT_FALSE(other.ask(QByteArray(1, command)).contains('\xFF')) << command;
        EXPECT_EQ(other.engine.isStreaming(), command == 'A') << command;
    }
}

TEST(BoardEngineStream, LoopRepeatsTheTrafficNeverAheadOfTheRate)
{
    const BoardConfig config{.rate = 400, .loop = true};
    TestBoard board(config);
    QElapsedTimer clock;
    clock.start();
    board.ask("B");
    ASSERT_TRUE(board.waitFor(5 * j1Only.size()));
    EXPECT_LE(board.received.size(), config.rate * clock.elapsed() / 1000 + 1);
    // Paced in steps, not all at once.
    EXPECT_GT(board.chunks.size(), 1);
    EXPECT_TRUE(board.engine.hasTrafficPending());
    EXPECT_EQ(board.received.left(5 * j1Only.size()), j1Only.repeated(5));
}

// Split: the low half of a chunk's last monitored byte leaves alone a
// moment later, and a stop that comes meanwhile has its end code wait
// behind it.
TEST(BoardEnginePieces, SplitSendsTheLastLowHalfAloneAndNothingOvertakesIt)
{
    TestBoard board({.rate = 100'000, .pieces = BoardConfig::Pieces::Split});
    QByteArray answeredAtOnce("not asked");
    QObject::connect(&board.engine, &BoardEngine::output, &board.engine, [&] {
        if (board.chunks.size() == 1)
            answeredAtOnce = board.ask("E");
    });
    board.ask("G");
    ASSERT_TRUE(board.waitFor(shortTraffic.size() + 1));
    EXPECT_EQ(board.chunks, (QList<QByteArray>{shortTraffic.chopped(1), shortTraffic.right(1), QByteArray("\xFF")}));
    EXPECT_TRUE(answeredAtOnce.isEmpty());
}

// Random cuts: every byte in order, and some writes end between the two
// halves of a monitored byte, which whole chunks of 20 bytes never do.
TEST(BoardEnginePieces, RandomCutsKeepTheStreamAndSplitMonitoredBytes)
{
    TestBoard board({.rate = 4000, .loop = true, .pieces = BoardConfig::Pieces::Random, .piecesSeed = 7});
    board.ask("G");
    ASSERT_TRUE(board.waitFor(40 * shortTraffic.size()));
    EXPECT_EQ(board.received.left(40 * shortTraffic.size()), shortTraffic.repeated(40));
    EXPECT_TRUE(std::any_of(board.chunks.begin(), board.chunks.end(),
                            [](const QByteArray &c) { return isHighNibble(static_cast<std::uint8_t>(c.back())); }));
}
