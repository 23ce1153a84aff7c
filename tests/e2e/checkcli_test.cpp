// ferrox-cli check and signals against the simulated board on a pseudo-terminal.
#include "boardprocess.h"
#include "clirun.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

// The outcomes' texts are the exchanges' test; here, a verified board's lines.
TEST(CheckCli, AVerifiedBoardPrintsItsReplyLineAndFirmware)
{
    BoardProcess board(words("--firmware V1.04 --jumper 115200"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(words("check --device") << board.linkPath() << words("--pc-speed 115200 --dtr --rts"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(board.linkPath() + QStringLiteral(":通信確認ＯＫ。\nV1.04\n"))) << run.out.toStdString();
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
