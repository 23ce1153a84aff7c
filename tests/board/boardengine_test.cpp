#include "board/boardengine.h"
#include "board/traffic.h"
#include "boardtesting.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::tagSequenceErrors;
using ferrox::test::waitUntil;

namespace {

// J1 sends 0x41, J2 answers 0x06, J1 sends 0x0D, J2 sends 0xF3.
const QByteArray shortTraffic("\xA4\xB1\x80\x96\xA0\xBD\x8F\x93", 8);
const QByteArray j1Only("\xA4\xB1\xA0\xBD", 4);
const QByteArray j2Only("\x80\x96\x8F\x93", 4);

// An engine with everything it sends gathered.
struct TestBoard
{
    explicit TestBoard(const BoardConfig &config = {}, const QByteArray &traffic = shortTraffic)
        : engine(config, traffic)
    {
        QObject::connect(&engine, &BoardEngine::output, &engine, [this](const QByteArray &bytes) {
            received += bytes;
            ++chunks;
        });
    }
    // What the board answers to commands at once; received keeps it too.
    QByteArray ask(const QByteArray &commands)
    {
        const qsizetype before = received.size();
        engine.receive(commands);
        return received.mid(before);
    }
    bool waitFor(qsizetype bytes, int timeoutMs = 5000)
    {
        return waitUntil([&] { return received.size() >= bytes; }, timeoutMs);
    }

    BoardEngine engine;
    QByteArray received;
    int chunks = 0;
};

BoardConfig fastBoard()
{
    BoardConfig config;
    config.rate = 100'000;
    return config;
}

QByteArray speedField(const QByteArray &reply)
{
    return reply.mid(15, 6);
}

} // namespace

TEST(BoardEngineQueries, VersionReplyIsIdentificationFirmwareAndMonitorSpeed)
{
    TestBoard board;
    const QByteArray reply = board.ask("V");
    EXPECT_EQ(reply, QByteArray("Ferrox LM V1.05  9600\r"));
    ASSERT_EQ(reply.size(), 22);
    EXPECT_EQ(reply.left(9), QByteArray("Ferrox LM"));
    EXPECT_EQ(reply[9], ' ');
    EXPECT_EQ(reply.mid(10, 5), QByteArray("V1.05"));
}

TEST(BoardEngineQueries, IdentificationAndFirmwareAreFittedToTheirFields)
{
    BoardConfig config;
    config.id = "Other";
    config.firmware = "V2.00-beta";
    TestBoard board(config);
    EXPECT_EQ(board.ask("V"), QByteArray("Other     V2.00  9600\r"));

    config.id = "A much longer name";
    config.firmware = "V1";
    TestBoard other(config);
    EXPECT_EQ(other.ask("V"), QByteArray("A much lo V1     9600\r"));
}

TEST(BoardEngineQueries, ReplyLengthCutsOrPadsTheReply)
{
    const struct
    {
        int length;
        QByteArray expected;
    } cases[] = {
        {22, "Ferrox LM V1.05  9600\r"},
        {21, "Ferrox LM V1.05  9600"},
        {30, QByteArray("Ferrox LM V1.05  9600\r") + QByteArray(8, ' ')},
        {1, "F"},
        {0, ""},
        {-5, ""}, // a config built in code, past the argument checks
    };
    for (const auto &c : cases) {
        BoardConfig config;
        config.replyLength = c.length;
        TestBoard board(config);
        EXPECT_EQ(board.ask("V"), c.expected) << "reply length " << c.length;
    }
}

TEST(BoardEngineQueries, SignalReplyIsTheMaskAndOneMoreByte)
{
    for (const int mask : {0xD2, 0x00, 0xFF, 0x7F}) {
        BoardConfig config;
        config.signalMask = static_cast<std::uint8_t>(mask);
        TestBoard board(config);
        const QByteArray reply = board.ask("S");
        ASSERT_EQ(reply.size(), 2);
        EXPECT_EQ(static_cast<std::uint8_t>(reply[0]), mask);
    }
}

TEST(BoardEngineQueries, AnswersToOneWriteLeaveAsOneChunk)
{
    TestBoard board;
    EXPECT_EQ(board.ask("SV").size(), 24);
    EXPECT_EQ(board.chunks, 1);
}

TEST(BoardEngineQueries, UnknownBytesAreIgnored)
{
    TestBoard board;
    EXPECT_TRUE(board.ask(QByteArray("xz\x00\xFF\r", 5)).isEmpty());
    EXPECT_EQ(board.engine.state(), BoardEngine::State::Idle);
    EXPECT_EQ(board.ask("V"), QByteArray("Ferrox LM V1.05  9600\r"));
}

// Every speed code of both firmware tables, shown back in the version reply.
TEST(BoardEngineSettings, SpeedCodesFollowTheFirmwaresTable)
{
    const QByteArray modernTexts[] = {"   600", "  1200", "  2400", "  4800", "  9600",
                                      " 14400", " 19200", " 28800", " 38400", " 57600"};
    for (const char *firmware : {"V1.03", "V1.04", "V1.05"}) {
        BoardConfig config;
        config.firmware = firmware;
        TestBoard board(config);
        EXPECT_EQ(board.engine.speedCode(), '4') << firmware;
        for (int code = 0; code < 10; ++code) {
            const QByteArray reply = board.ask(QByteArray(1, char('0' + code)) + 'V');
            EXPECT_EQ(speedField(reply), modernTexts[code]) << firmware << " code " << code;
            EXPECT_EQ(board.engine.speedCode(), char('0' + code));
        }
    }
    const QByteArray legacyTexts[] = {"  4800", "  9600", " 19200", " 28800", " 38400", " 57600"};
    for (const char *firmware : {"V1.01", "V1.02", "V9.99"}) {
        BoardConfig config;
        config.firmware = firmware;
        TestBoard board(config);
        EXPECT_EQ(board.engine.speedCode(), '1') << firmware;
        EXPECT_EQ(speedField(board.ask("V")), QByteArray("  9600"));
        for (int code = 0; code < 6; ++code) {
            const QByteArray reply = board.ask(QByteArray(1, char('0' + code)) + 'V');
            EXPECT_EQ(speedField(reply), legacyTexts[code]) << firmware << " code " << code;
        }
        // Codes 6..9 mean nothing to this firmware: the speed stays.
        for (const char code : {'6', '7', '8', '9'}) {
            EXPECT_EQ(speedField(board.ask(QByteArray(1, code) + 'V')), QByteArray(" 57600")) << code;
            EXPECT_EQ(board.engine.speedCode(), '5');
        }
    }
}

TEST(BoardEngineSettings, DataWidthOnlyForV105)
{
    for (const char *firmware : {"V1.01", "V1.02", "V1.03", "V1.04", "V1.05"}) {
        BoardConfig config;
        config.firmware = firmware;
        TestBoard board(config);
        const bool knowsWidth = QByteArray(firmware) == "V1.05";
        EXPECT_TRUE(board.ask("D").isEmpty());
        EXPECT_EQ(board.engine.dataWidth(), knowsWidth ? 9 : 8) << firmware;
        board.ask("d");
        EXPECT_EQ(board.engine.dataWidth(), 8) << firmware;
    }
}

TEST(BoardEngineLink, WrongLinkSpeedOrSilentBoardAnswersNothing)
{
    const struct
    {
        int jumper;
        QString settings;
        bool silent;
        bool answers;
    } cases[] = {
        {57600, QStringLiteral(" 57600,n,8,1"), false, true},
        {57600, QStringLiteral("115200,n,8,1"), false, false},
        {115200, QStringLiteral("115200,n,8,1"), false, true},
        {115200, QStringLiteral(" 57600,n,8,1"), false, false},
        {57600, QStringLiteral("fast,n,8,1"), false, false},
        {57600, QStringLiteral(" 57600,n,8,1"), true, false},
    };
    for (const auto &c : cases) {
        BoardConfig config = fastBoard();
        config.jumper = c.jumper;
        config.silent = c.silent;
        TestBoard board(config);
        board.engine.setLinkSettings(c.settings);
        const QByteArray answer = board.ask("VS8M");
        EXPECT_EQ(answer.isEmpty(), !c.answers) << c.settings.toStdString() << " jumper " << c.jumper;
        EXPECT_EQ(board.engine.isMeasuring(), c.answers);
        board.ask("EG");
        EXPECT_EQ(board.engine.isStreaming(), c.answers);
        EXPECT_EQ(board.engine.speedCode(), c.answers ? '8' : '4');
    }
}

TEST(BoardEngineLink, TheBoardHearsAgainOnceTheSpeedMatches)
{
    TestBoard board;
    board.engine.setLinkBaud(115200);
    EXPECT_FALSE(board.engine.hearsLink());
    EXPECT_TRUE(board.ask("V").isEmpty());
    board.engine.setLinkBaud(57600);
    EXPECT_EQ(board.ask("V").size(), 22);
}

// Each direction lets through only its sender's bytes, and the stream ends
// with the end code after 'E'.
TEST(BoardEngineStream, DirectionsFilterTheTrafficAndStopEndsWithTheEndCode)
{
    const struct
    {
        char command;
        QByteArray expected;
    } cases[] = {{'G', shortTraffic}, {'A', j2Only}, {'B', j1Only}};
    for (const auto &c : cases) {
        TestBoard board(fastBoard());
        board.ask(QByteArray(1, c.command));
        EXPECT_TRUE(board.engine.isStreaming());
        EXPECT_EQ(board.engine.direction(), c.command);
        ASSERT_TRUE(waitUntil([&] { return !board.engine.hasTrafficPending(); })) << c.command;
        EXPECT_EQ(board.received, c.expected) << c.command;
        // Idle after the traffic, but still streaming until told to stop.
        EXPECT_TRUE(board.engine.isStreaming());
        EXPECT_EQ(board.ask("E"), QByteArray("\xFF", 1)) << c.command;
        EXPECT_EQ(board.received, c.expected + '\xFF') << c.command;
        EXPECT_EQ(tagSequenceErrors(board.received), 0);
        EXPECT_FALSE(board.engine.isStreaming());
        EXPECT_EQ(board.engine.direction(), 0);
    }
}

TEST(BoardEngineStream, NoEndCodeOptionAndStopWhileIdle)
{
    BoardConfig config = fastBoard();
    config.noEndCode = true;
    TestBoard board(config);
    board.ask("G");
    ASSERT_TRUE(board.waitFor(shortTraffic.size()));
    EXPECT_TRUE(board.ask("E").isEmpty());
    EXPECT_FALSE(board.engine.isStreaming());

    TestBoard idle;
    EXPECT_TRUE(idle.ask("E").isEmpty()); // no stream, no end code
}

TEST(BoardEngineStream, StopNeverSplitsAMonitoredByte)
{
    BoardConfig config;
    config.rate = 1; // nothing paced during the test
    config.flood = 3;
    TestBoard board(config);
    // The flood leaves J2's high nibble 0x80 out alone; 'E' sends its low
    // nibble before the end code.
    EXPECT_EQ(board.ask("GE"), shortTraffic.left(4) + '\xFF');
}

TEST(BoardEngineStream, LoopRepeatsTheTraffic)
{
    BoardConfig config = fastBoard();
    config.loop = true;
    TestBoard board(config);
    board.ask("B");
    ASSERT_TRUE(board.waitFor(5 * j1Only.size()));
    EXPECT_TRUE(board.engine.hasTrafficPending());
    EXPECT_EQ(board.received.left(5 * j1Only.size()), j1Only.repeated(5));
    EXPECT_TRUE(board.ask("E").endsWith('\xFF'));
    EXPECT_EQ(tagSequenceErrors(board.received), 0);
}

TEST(BoardEngineStream, PacingNeverRunsAheadOfTheRate)
{
    BoardConfig config;
    config.rate = 400;
    config.loop = true;
    TestBoard board(config);
    QElapsedTimer clock;
    clock.start();
    board.ask("G");
    ASSERT_TRUE(board.waitFor(40));
    const qint64 allowed = config.rate * clock.elapsed() / 1000 + 1;
    EXPECT_LE(board.received.size(), allowed);
    EXPECT_GT(board.chunks, 1); // paced in steps, not all at once
}

TEST(BoardEngineStream, ZeroRateFromCodeStreamsSlowlyInsteadOfFailing)
{
    BoardConfig config;
    config.rate = 0;
    TestBoard board(config);
    board.ask("G");
    EXPECT_TRUE(board.engine.isStreaming());
    EXPECT_EQ(board.ask("E"), QByteArray("\xFF", 1));
}

TEST(BoardEngineStream, ACommandDuringAStreamEndsItWithoutEndCode)
{
    BoardConfig config;
    config.rate = 1;
    config.flood = 2;
    for (const char command : {'V', 'S', '3', 'D', 'A'}) {
        TestBoard board(config);
        board.ask("G");
        const QByteArray answer = board.ask(QByteArray(1, command));
        EXPECT_FALSE(answer.contains('\xFF')) << command;
        const bool restarted = command == 'A';
        EXPECT_EQ(board.engine.isStreaming(), restarted) << command;
    }
}

TEST(BoardEngineStream, ErrorTagsAreMixedBetweenMonitoredBytes)
{
    BoardConfig config = fastBoard();
    config.errorTags = 3;
    const QByteArray traffic = demoTraffic();
    TestBoard board(config, traffic);
    board.ask("G");
    ASSERT_TRUE(waitUntil([&] { return !board.engine.hasTrafficPending(); }));
    ASSERT_EQ(board.received.size(), traffic.size() + 3);
    QByteArray withoutErrors;
    int errors = 0;
    const QByteArray &out = board.received;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const std::uint8_t tag = static_cast<std::uint8_t>(out[i]) >> 4;
        if (tag >= 0x8 && tag <= 0xB) {
            withoutErrors.append(out[i]);
            continue;
        }
        ++errors;
        // Between two monitored bytes: never right after a high nibble.
        EXPECT_FALSE(i > 0 && isHighNibble(static_cast<std::uint8_t>(out[i - 1]))) << "at " << i;
    }
    EXPECT_EQ(errors, 3);
    EXPECT_EQ(withoutErrors, traffic);
}

TEST(BoardEngineStream, FloodSendsItsBytesAtOnceOnTheDirectionCommand)
{
    BoardConfig config;
    config.rate = 1;
    config.flood = 100;
    TestBoard board(config);
    const QByteArray flood = board.ask("G");
    ASSERT_EQ(flood.size(), 100);
    EXPECT_EQ(flood.left(shortTraffic.size() * 12), shortTraffic.repeated(12));
    EXPECT_EQ(board.chunks, 1);
}

TEST(BoardEngineMeasure, RecordsAreCountsLowByteFirstCycledUntilStop)
{
    BoardConfig config = fastBoard();
    config.measureCounts = {945, 0x1234};
    TestBoard board(config);
    EXPECT_TRUE(board.ask("M").isEmpty());
    EXPECT_TRUE(board.engine.isMeasuring());
    ASSERT_TRUE(board.waitFor(101));
    const QByteArray record("\xB1\x03\x34\x12", 4);
    EXPECT_EQ(board.received.left(100), record.repeated(25));
    EXPECT_TRUE(board.ask("E").isEmpty()); // no end code after measuring
    EXPECT_FALSE(board.engine.isMeasuring());
    const qsizetype stoppedAt = board.received.size();
    QTest::qWait(30);
    EXPECT_EQ(board.received.size(), stoppedAt);
}

TEST(BoardEngineMeasure, FirmwareBeforeV104DoesNotMeasure)
{
    for (const char *firmware : {"V1.01", "V1.02", "V1.03"}) {
        BoardConfig config = fastBoard();
        config.firmware = firmware;
        TestBoard board(config);
        board.ask("M");
        EXPECT_FALSE(board.engine.isMeasuring()) << firmware;
    }
}
