#include "board/boardconfig.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::words;

namespace {

// The options no pty or end-to-end test relies on: those of --jumper,
// --signals, --error-tags, --hangup-after, --no-end-code and
// --measure-counts are proven by the command-line tests' results on a
// board started with them.
TEST(BoardOptions, EveryOptionIsRead)
{
    BoardConfig config;
    bool help = true;
    ASSERT_EQ(parseBoardArguments(words("ferrox-board --link /tmp/x --reply-len 30 --pieces random:4294967295"), config, help),
              QString());
    EXPECT_FALSE(help);
    EXPECT_EQ(config.replyLength, 30);
    EXPECT_EQ(config.pieces, BoardConfig::Pieces::Random);
    EXPECT_EQ(config.piecesSeed, 4294967295u);
    ASSERT_EQ(parseBoardArguments(words("ferrox-board --link /tmp/x --pieces split"), config, help), QString());
    EXPECT_EQ(config.pieces, BoardConfig::Pieces::Split);

    EXPECT_EQ(parseBoardArguments(words("ferrox-board --help"), config, help), QString()) << "no link needed";
    EXPECT_TRUE(help);
}

TEST(BoardOptions, BadArgumentsAreRefusedAndLeaveTheConfigAlone)
{
    const struct { const char *line; const char *mentions; } cases[] = {
        {"ferrox-board", "--link"},
        {"ferrox-board --link /tmp/x --jumper 9600", "jumper"},
        {"ferrox-board --link /tmp/x --measure-counts 65536", "measure-counts"},
        {"ferrox-board --link /tmp/x --hangup-after nan", "hangup-after"},
        {"ferrox-board --link /tmp/x stray", "stray"},
        {"ferrox-board --link /tmp/x --pieces random:4294967296", "pieces"},
        {"ferrox-board --link /tmp/x --pieces halves", "pieces"},
    };
    for (const auto &[line, mentions] : cases) {
        BoardConfig config;
        config.rate = 1234;
        bool help = false;
        const QString error = parseBoardArguments(words(line), config, help);
        EXPECT_TRUE(error.contains(QLatin1String(mentions))) << mentions << ": " << error.toStdString();
        EXPECT_EQ(config.rate, 1234) << mentions;
        EXPECT_FALSE(help) << mentions;
    }
}

} // namespace
