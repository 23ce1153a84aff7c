// ferrox-cli capture against the simulated board on a pseudo-terminal: the
// files it leaves, its end on SIGTERM, and one exit status of each kind.
#include "boardprocess.h"
#include "support/clirun.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QByteArray endCode(1, char(0xFF));

// Runs ferrox-cli with its standard output a pipe whose reader has gone
// away (as with "| head") and stops it by SIGTERM stopAfterMs after the
// capture log says the board streams.
CliRun runStopped(const QStringList &arguments, int stopAfterMs)
{
    QProcess cli;
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    if (cli.waitForStarted(5000))
        cli.closeReadChannel(QProcess::StandardOutput);
    cli.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains("モニター開始 ... ") && cli.waitForReadyRead(5000))
        err += cli.readAllStandardError();
    cli.waitForFinished(stopAfterMs);
    cli.terminate();
    return endedRun(cli, err);
}

class CaptureCli : public testing::Test
{
protected:
    QString dataPath() const { return dir.filePath(QStringLiteral("capture.dat")); }
    QString textPath() const { return dir.filePath(QStringLiteral("capture.txt")); }
    QStringList arguments(const BoardProcess &board, const char *options) const
    {
        return words("capture --device") << board.linkPath() << QStringLiteral("-o") << dataPath() << words(options);
    }
    QTemporaryDir dir;
};

TEST_F(CaptureCli, AStreamStoppedByTerminationKeepsWholeBytesInUtf8)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000 --jumper 115200 --firmware V1.02"));
    FERROX_START_BOARD(board);
    // Its reader gone, standard output costs the capture nothing.
    const CliRun run = runStopped(arguments(board, "--pc-speed 115200 --direction j1-to-j2 --monitor-speed 57600 "
                                                   "--mode 1 --utf8 --text") << textPath(), 1000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray stream = readFile(dataPath());
    ASSERT_GT(stream.size(), 100);
    EXPECT_TRUE(stream.endsWith(endCode));
    EXPECT_EQ(stream.size() % 2, 1) << "whole monitored bytes, then the end code";
    const QString text = QString::fromUtf8(readFile(textPath()));
    EXPECT_TRUE(text.contains(QStringLiteral(" J1⇒J2 : 05 ")));
    // The rendering itself is the render tests'; here, that the capture's device reaches it.
    EXPECT_TRUE(text.contains(QStringLiteral("\n通信ポート　　　　： ") + board.linkPath() + u'\n')) << text.toStdString();
}

TEST_F(CaptureCli, EveryEndHasItsExitStatus)
{
    const struct { const char *name, *boardOptions, *cliOptions; int exitCode; bool dataWritten; } cases[] = {
        {"no end code", "--no-end-code", "--seconds 2", 0, true},
        {"unwritable text file", "", "--text /", 1, false},
        {"silent board", "--silent", "--seconds 2", 3, false},
        {"receive errors", "--error-tags 3", "--seconds 2", 4, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dataPath());
        QFile::remove(dataPath() + QStringLiteral(".times"));
        BoardProcess board(words(c.boardOptions));
        FERROX_START_BOARD(board);
        const CliRun run = runCli(arguments(board, c.cliOptions));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(readFile(dataPath()).endsWith(endCode), c.dataWritten);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2 * int(c.dataWritten))
            << "the data, its arrival times, no temporary files";
    }
}

// Every file of a capture keeps the bytes of its name: the arrival times
// and the numbered pieces of a name that is not UTF-8 are its own, not
// a mangled name two captures would share.
TEST_F(CaptureCli, NamesThatAreNotUtf8KeepTheirBytesInEveryFile)
{
    BoardProcess board(words("--traffic demo --loop --rate 4000"));
    FERROX_START_BOARD(board);
    const CliRun run = runShell(dir.path(), QStringLiteral(
        "\"$0\" capture --device \"$1\" --seconds 1 -o \"$(printf 'one\\351.dat')\" && "
        "\"$0\" capture --device \"$1\" --seconds 1.5 --split-bytes 2000 -o \"$(printf 'two\\351.dat')\" && "
        "for f in 'one\\351.dat.times' 'two\\351-00001.dat' 'two\\351-00001.dat.times' 'two\\351-00002.dat'; do "
        "  test -f \"$(printf \"$f\")\" || echo \"missing $f\"; done"), {board.linkPath()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains("missing")) << run.out.toStdString();
}

// Stopped by a file it cannot write (the size limit stands in for a full
// disk), a split capture counts only what its files hold.
TEST_F(CaptureCli, ASplitCaptureStoppedByAFullDiskCountsWhatItSaved)
{
    BoardProcess board(words("--traffic demo --loop --rate 4000"));
    FERROX_START_BOARD(board);
    const CliRun run = runShell(dir.path(), QStringLiteral(
        "trap '' XFSZ; ulimit -f 4; exec \"$0\" capture --device \"$1\" --seconds 3 --split-bytes 6000 -o full.dat"), {board.linkPath()});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("monitored bytes: 0\n"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("files: 0\n"))) << run.err.toStdString();
}

// The adapter goes away between the two halves of a byte: the lone high
// half is dropped, every byte before it kept, and the user told that the
// last byte was cut (the ending's texts: the finished capture's tests).
TEST_F(CaptureCli, AHangupBetweenTheHalvesOfAByteKeepsEveryWholeByte)
{
    const QString traffic = writeFile(dir.filePath(QStringLiteral("cut.stream")), QByteArray::fromHex("a4b1a4b2a4"));
    BoardProcess board(QStringList{QStringLiteral("--traffic"), traffic} << words("--hangup-after 0.5"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(arguments(board, ""));
    EXPECT_EQ(run.exitCode, 3) << "the link was lost: " << run.err.toStdString();
    EXPECT_EQ(readFile(dataPath()), QByteArray::fromHex("a4b1a4b2") + endCode);
    EXPECT_TRUE(run.err.contains(QStringLiteral("最後の１バイトは受信が途中で途切れたため破棄しました。\n")))
        << run.err.toStdString();
}

} // namespace
