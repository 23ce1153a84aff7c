// The last stop of every ending of ferrox-cli reaches the simulated board,
// which hears only bytes read at its jumper's link speed: the program closes
// its port right after the stop, and the board must still hear it and go
// quiet, so that the next check finds it answering.
#include "boardprocess.h"
#include "support/clirun.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using namespace ferrox;
using namespace ferrox::test;

namespace {

enum class End { Itself, Interrupted };

struct Ending
{
    const char *name;
    const char *board;
    const char *command;
    End end;
};

// Runs the command to its end: by itself or by SIGINT once it has printed,
// however long a loaded machine takes to get there (the wait is a safety
// net). (A reader of the output that leaves: OutputsCli.)
CliRun runToTheEnd(const Ending &ending, const BoardProcess &board, const QString &folder)
{
    const QStringList arguments = words(ending.command) << QStringLiteral("--device") << board.linkPath();
    QProcess cli;
    cli.setWorkingDirectory(folder);
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    if (ending.end == End::Interrupted) {
        // Never pid 0: that would be the test's own process group.
        if (!cli.waitForReadyRead(60000) || cli.processId() <= 0)
            return {-1, {}, QStringLiteral("<printed nothing to interrupt> ") + QString::fromUtf8(cli.readAllStandardError())};
        ::kill(pid_t(cli.processId()), SIGINT);
    }
    return endedRun(cli);
}

} // namespace

TEST(LastStopCli, EveryEndingLeavesTheBoardStoppedAndTheNextCheckFindsIt)
{
    const char *const streaming = "--traffic demo --loop --rate 2000";
    const Ending endings[] = {
        {"monitor --count", streaming, "monitor --count 50", End::Itself},
        {"monitor on SIGINT", streaming, "monitor", End::Interrupted},
        {"measure", "", "measure", End::Itself},
        {"measure --seconds", "--rate 20", "measure --seconds 1", End::Itself},
        {"an overflowed capture", "--traffic demo --loop --flood 270000", "capture --seconds 30 -o capture.dat",
         End::Itself},
    };
    const QTemporaryDir dir;
    for (const Ending &ending : endings) {
        SCOPED_TRACE(ending.name);
        BoardProcess board(words(ending.board) << QStringLiteral("--tell-heard"));
        FERROX_START_BOARD(board);
        const CliRun run = runToTheEnd(ending, board, dir.path());
        ASSERT_NE(run.exitCode, -1) << run.err.toStdString();
        // Quiet once it has taken in the stop, however late a loaded
        // machine lets it read; a check the board answered too late (exit
        // 3) started nothing to stop.
        if (run.exitCode != 3) {
            ASSERT_TRUE(board.waitUntilHeard('E')) << run.err.toStdString();
        }
        EXPECT_TRUE(board.isQuiet()) << run.err.toStdString();
        const CliRun check = runCli(words("check --device") << board.linkPath());
        EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    }
}
