#include "board/boardconfig.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace ferrox;

namespace {

QStringList arguments(std::initializer_list<const char *> args)
{
    QStringList list{QStringLiteral("ferrox-board")};
    for (const char *a : args)
        list << QString::fromUtf8(a);
    return list;
}

// The options the pty and end-to-end tests do not use, and every conversion.
TEST(BoardOptions, EveryOptionIsRead)
{
    BoardConfig config;
    bool help = true;
    const QString error = parseBoardArguments(
        arguments({"--link", "/tmp/x", "--jumper", "115200", "--signals", "0x7f", "--measure-counts", "1,65535, 945",
                   "--no-end-code", "--reply-len", "30", "--error-tags", "4", "--hangup-after", "1.5"}),
        config, help);
    ASSERT_EQ(error, QString());
    EXPECT_FALSE(help);
    EXPECT_EQ(config.link, QStringLiteral("/tmp/x"));
    EXPECT_EQ(config.measureCounts, (QList<quint16>{1, 65535, 945}));
    EXPECT_EQ(std::tuple(config.jumper, config.noEndCode, config.signalMask, config.replyLength, config.errorTags,
                         config.hangupAfterMs),
              std::tuple(115200, true, 0x7F, 30, 4, 1500));

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
