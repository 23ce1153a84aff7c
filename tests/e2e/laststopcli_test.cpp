// The last stop of every ending of ferrox-cli reaches the simulated board,
// which hears only bytes read at its jumper's link speed: the program closes
// its port right after the stop, and the board must still hear it and go
// quiet, so that the next check finds it answering. The live outputs when
// they fail: a reader that went away ends a command quietly with status 0,
// any other failed write (here /dev/full) with status 1 and the output
// named; a capture keeps its data file and the board is left stopped
// either way. The link options held against what the board's firmware and
// the link speed offer, the same way by every link command, their defaults
// as a first run's settings, and port failures as a terminal shows them.
#include "boardprocess.h"
#include "support/clirun.h"

#include "settings/settingsschema.h"

#include <QDir>
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
// net). (A reader of the output that leaves: OutputsCli below.)
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

enum class Stream { Out, Err };

// What one of the program's streams is given.
enum class Sink {
    Full,        // /dev/full: every write fails with ENOSPC
    ReaderLeaves // a pipe into `head -c 300`, which leaves once it has its bytes
};

CliRun runWith(const QStringList &arguments, Stream stream, Sink sink)
{
    if (sink == Sink::ReaderLeaves) {
        const QString redirection = stream == Stream::Out ? QString() : QStringLiteral("2>&1 >/dev/null");
        return runShell(QDir::tempPath(),
                        QStringLiteral("\"$0\" \"$@\" %1 | head -c 300 >/dev/null; exit ${PIPESTATUS[0]}").arg(redirection),
                        arguments);
    }
    QProcess cli;
    if (stream == Stream::Out)
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
    else
        cli.setStandardErrorFile(QStringLiteral("/dev/full"));
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    return endedRun(cli);
}

const QString diskFull = QStringLiteral("ディスクの空き容量が足りません。");

const QString unsupportedSpeed = QStringLiteral("設定された通信スピードがサポートされていません。");

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

// The commands that talk to the board: each output that fails stops the
// board in order (the next check finds it answering), and a capture writes
// its data file all the same.
TEST(OutputsCli, LinkCommandsStopTheBoardInOrderAndKeepTheData)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("kept.dat"));
    const struct { const char *name; const char *options; Stream stream; bool capture; } cases[] = {
        {"monitor", "monitor --seconds 30", Stream::Out, false},
        {"live pcap", "capture --format pcap --seconds 30 -o", Stream::Out, true},
        {"live lines", "capture --live --seconds 30 -o", Stream::Err, true},
        {"signals", "signals --count 30", Stream::Out, false},
    };
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    for (const auto &c : cases) {
        for (const Sink sink : {Sink::Full, Sink::ReaderLeaves}) {
            SCOPED_TRACE(std::string(c.name) + (sink == Sink::Full ? " into /dev/full" : " to a reader that leaves"));
            QFile::remove(data);
            QStringList arguments = words(c.options);
            if (c.capture)
                arguments << data;
            const CliRun run = runWith(arguments << QStringLiteral("--device") << board.linkPath(), c.stream, sink);
            EXPECT_EQ(run.exitCode, sink == Sink::Full ? 1 : 0) << run.err.toStdString();
            if (c.stream == Stream::Out && sink == Sink::Full) {
                EXPECT_TRUE(run.err.contains(QStringLiteral("standard output could not be written: ") + diskFull))
                    << run.err.toStdString();
            }
            if (c.capture) {
                // Whole; none when the output failed before any byte came
                // (an empty capture stores nothing).
                EXPECT_TRUE(!QFile::exists(data) || readFile(data).endsWith(char(0xFF))) << "the data file, written whole";
                if (c.stream == Stream::Out && sink == Sink::ReaderLeaves) {
                    EXPECT_TRUE(run.err.contains(QStringLiteral("ended early: the reader of the live output went away")))
                        << run.err.toStdString();
                }
            }
            EXPECT_EQ(runCli(words("check --device") << board.linkPath()).exitCode, 0);
        }
    }
}

// Standard output and error closed by the shell (>&- 2>&-) are outputs
// that fail, never descriptors the link port could take.
TEST(OutputsCli, ClosedStandardDescriptorsFailAndTheBoardHearsNothingOfThem)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const CliRun run = runShell(dir.path(), QStringLiteral("\"$0\" capture --format pcap --seconds 30 -o kept.dat --device \"$1\" >&- 2>&-"),
                                {board.linkPath()});
    EXPECT_EQ(run.exitCode, 1);
    // The pcap header fails before any byte comes: an empty capture, stored as none.
    const QString kept = dir.filePath(QStringLiteral("kept.dat"));
    EXPECT_TRUE(!QFile::exists(kept) || readFile(kept).endsWith(char(0xFF)));
    EXPECT_EQ(runCli(words("check --device") << board.linkPath()).exitCode, 0);
}

// A choice the window's panel would not list for the board is refused
// after the check, before the board is set up, with the link failure's
// status; the board then answers the next check at once. (Which choices
// each firmware and link offer: the link's protocol tests.)
TEST(LinkOptionsCli, ChoicesTheFirmwareDoesNotOfferAreRefusedByEveryCommand)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("x.dat"));
    const struct { const char *name; const char *board; const char *options; const QString told; } cases[] = {
        {"monitor, a speed V1.01 lacks", "--firmware V1.01", "monitor --seconds 2 --monitor-speed 600", unsupportedSpeed},
        {"a data width V1.01 lacks", "--firmware V1.01", "capture --seconds 2 --data-width 9", QStringLiteral("--data-width 9")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BoardProcess board(words(c.board));
        FERROX_START_BOARD(board);
        QStringList arguments = words(c.options) << QStringLiteral("--device") << board.linkPath();
        if (arguments.first() == QLatin1String("capture"))
            arguments << QStringLiteral("-o") << data;
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.told)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(QFile::exists(data));
        EXPECT_EQ(runCli(words("check --device") << board.linkPath()).exitCode, 0);
    }
}

// Without --monitor-speed the board is set to a first run's monitored
// speed, which its version reply shows ("Ferrox LM V1.05  9600bps").
TEST(LinkOptionsCli, TheDefaultMonitoredSpeedIsAFirstRunsSetting)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const CliRun run = runCli(words("capture --seconds 0.3 --device") << board.linkPath() << QStringLiteral("-o")
                                                                      << dir.filePath(QStringLiteral("x.dat")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString schemaDefault = speedText(*monitorSpeedOf(settingkey::monitorSpeed().defaultText));
    EXPECT_TRUE(run.err.contains(schemaDefault + QStringLiteral("bps\n"))) << run.err.toStdString();
}

// Wireshark's configuration offers only the monitored speeds the link
// allows, and asks again for them when the link speed changes.
TEST(LinkOptionsCli, TheExtcapOffersTheSpeedsOfTheLink)
{
    qputenv("FERROX_COM1", "/dev/null");
    const auto offered = [](const char *options) {
        const CliRun run = runCli(words("extcap --extcap-interface ferrox-COM1 --extcap-config") << words(options));
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.text();
    };
    const QString slow = offered("");
    EXPECT_TRUE(slow.contains(QStringLiteral("{value=28800}")));
    EXPECT_FALSE(slow.contains(QStringLiteral("{arg=2}{value=38400}")));
    EXPECT_TRUE(slow.contains(QStringLiteral("{call=--monitor-speed}{display=Monitored speed}{type=selector}{reload=true}")));
    const QString fast = offered("--pc-speed 115200 --extcap-reload-option monitor-speed");
    EXPECT_TRUE(fast.startsWith(QStringLiteral("value {arg=2}{value=9600}")));
    EXPECT_TRUE(fast.contains(QStringLiteral("{arg=2}{value=57600}")));
}

// A port that fails while the board streams is told on one line with the
// reason in words: not the message box's padding and a bare code.
TEST(PortMessagesCli, APortFailureIsOneLineWithItsReason)
{
    QTemporaryDir dir;
    BoardProcess board(words("--traffic demo --loop --hangup-after 0.5"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(words("capture -o") << dir.filePath(QStringLiteral("x.dat")) << QStringLiteral("--device")
                                                  << board.linkPath());
    EXPECT_EQ(run.exitCode, 3);
    const QStringList told = run.err.split(u'\n').filter(QStringLiteral(" は使用できませんでした。"));
    ASSERT_EQ(told.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(told.first().endsWith(u'。')) << told.first().toStdString();
    EXPECT_TRUE(told.first().contains(QStringLiteral("ハングアップ"))) << told.first().toStdString();
    EXPECT_FALSE(told.first().contains(QChar(0x3000))) << "no ideographic padding";
}
