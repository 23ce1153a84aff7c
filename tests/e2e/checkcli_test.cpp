// ferrox-cli check and signals against the simulated board on a pseudo-terminal.
#include "boardprocess.h"
#include "clirun.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

// A verified board prints its reply line and firmware; anything else exits
// with 3 and the reason on stderr.
TEST(CheckCli, VerifiedOrTheReason)
{
    const QString noBoard = QStringLiteral("*** ボードと通信ができませんでした ***");
    const struct
    {
        const char *board, *cli;
        int exitCode;
        QString start; // of stdout when verified, else of stderr
    } cases[] = {
        {"--firmware V1.04 --jumper 115200", "--pc-speed 115200 --dtr --rts", 0, QStringLiteral("Ferrox LM V1.04")},
        {"--silent", "", 3, noBoard},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.board) + " / " + c.cli);
        BoardProcess board(words(c.board));
        FERROX_START_BOARD(board);
        const CliRun run = runCli(words("check --device") << board.linkPath() << words(c.cli));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.err.startsWith(c.start)) << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
            continue;
        }
        const QStringList lines = run.out.split(u'\n');
        ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.start));
        EXPECT_TRUE(lines[0].endsWith(board.linkPath() + QStringLiteral(":通信確認ＯＫ。")));
        EXPECT_EQ(lines[1], c.start.right(5));
        EXPECT_TRUE(run.err.isEmpty());
    }
}

TEST(SignalsCli, OneReadoutLinePerSampleAThirdOfASecondApart)
{
    BoardProcess board(words("--signals 0xA5"));
    FERROX_START_BOARD(board);
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli(words("signals --count 3 --device") << board.linkPath());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"DCD● RxD◎ TxD● DTR◎ DSR◎ RTS● CTS◎ RIN● \n"_s.repeated(3));
    EXPECT_GE(clock.elapsed(), 3 * 333);
    EXPECT_TRUE(run.err.contains(u"通信確認ＯＫ。"_s)) << run.err.toStdString();
}

} // namespace
