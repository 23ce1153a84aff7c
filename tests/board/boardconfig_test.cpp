#include "board/boardconfig.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

QStringList arguments(std::initializer_list<const char *> args)
{
    QStringList list{QStringLiteral("ferrox-board")};
    for (const char *a : args)
        list << QString::fromUtf8(a);
    return list;
}

// The options and conversions no pty or end-to-end test relies on: those
// of --jumper, --signals, --error-tags and --hangup-after are proven by
// the command-line tests' results on a board started with them.
TEST(BoardOptions, EveryOptionIsRead)
{
    BoardConfig config;
    bool help = true;
    const QString error = parseBoardArguments(
        arguments({"--link", "/tmp/x", "--measure-counts", "1,65535, 945", "--no-end-code", "--reply-len", "30",
                   "--pieces", "random:4294967295"}), config, help);
    ASSERT_EQ(error, QString());
    EXPECT_FALSE(help);
    EXPECT_EQ(config.link, QStringLiteral("/tmp/x"));
    EXPECT_EQ(config.measureCounts, (QList<quint16>{1, 65535, 945}));
    EXPECT_TRUE(config.noEndCode);
    EXPECT_EQ(config.replyLength, 30);
    EXPECT_EQ(config.pieces, BoardConfig::Pieces::Random);
    EXPECT_EQ(config.piecesSeed, 4294967295u);
    ASSERT_EQ(parseBoardArguments(arguments({"--link", "/tmp/x", "--pieces", "split"}), config, help), QString());
    EXPECT_EQ(config.pieces, BoardConfig::Pieces::Split);

    EXPECT_EQ(parseBoardArguments(arguments({"--help"}), config, help), QString()) << "no link needed";
    EXPECT_TRUE(help);
}

TEST(BoardOptions, BadArgumentsAreRefusedAndLeaveTheConfigAlone)
{
    const struct { std::initializer_list<const char *> args; const char *mentions; } cases[] = {
        {{}, "--link"},
        {{"--link", "/tmp/x", "--jumper", "9600"}, "jumper"},
        {{"--link", "/tmp/x", "--measure-counts", "65536"}, "measure-counts"},
        {{"--link", "/tmp/x", "--hangup-after", "nan"}, "hangup-after"},
        {{"--link", "/tmp/x", "stray"}, "stray"},
        {{"--link", "/tmp/x", "--pieces", "random:4294967296"}, "pieces"},
        {{"--link", "/tmp/x", "--pieces", "halves"}, "pieces"},
    };
    for (const auto &[args, mentions] : cases) {
        BoardConfig config;
        config.rate = 1234;
        bool help = false;
        const QString error = parseBoardArguments(arguments(args), config, help);
        EXPECT_TRUE(error.contains(QLatin1String(mentions))) << mentions << ": " << error.toStdString();
        EXPECT_EQ(config.rate, 1234) << mentions;
        EXPECT_FALSE(help) << mentions;
    }
}

} // namespace
