// ferrox-cli signals against the simulated board on a pseudo-terminal.
#include "boardprocess.h"
#include "clirun.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace Qt::StringLiterals;

TEST(SignalsCli, OneReadoutLinePerSampleAThirdOfASecondApartUntilTheBoardFallsSilent)
{
    BoardProcess board(words("--signals 0xA5"));
    FERROX_START_BOARD(board);
    QElapsedTimer clock;
    clock.start();
    CliRun run = runCli(words("signals --count 3 --device") << board.linkPath());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u"DCD● RxD◎ TxD● DTR◎ DSR◎ RTS● CTS◎ RIN● \n"_s.repeated(3));
    EXPECT_GE(clock.elapsed(), 3 * 333);
    EXPECT_TRUE(run.err.contains(u"通信確認ＯＫ。"_s)) << run.err.toStdString();

    // A board that hangs up: the samples so far, then the stop text.
    BoardProcess leaving(words("--signals 0x00 --hangup-after 1"));
    FERROX_START_BOARD(leaving);
    run = runCli(words("signals --device") << leaving.linkPath());
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(u"DCD◎ RxD◎ TxD◎ DTR◎ DSR◎ RTS◎ CTS◎ RIN◎ \n"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.err.endsWith(u"RS232制御信号読み出しを停止しました。再開は「通信確認」ボタンを押してください。　(通信エラー)\n"_s))
        << run.err.toStdString();
}
