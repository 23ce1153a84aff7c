// ferrox-cli monitor against the simulated board on a pseudo-terminal: how
// soon it prints, what it prints, and its quiet ends.
#include "boardprocess.h"
#include "support/clirun.h"

#include <QTime>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList monitorArguments(const BoardProcess &board, const char *options)
{
    return words("monitor --device") << board.linkPath() << words(options);
}

// The hex pairs of "HH:MM:SS.mmm J1> 02 41  .A" lines, in order.
QStringList hexPairs(const QString &lines)
{
    QStringList pairs;
    for (const QString &line : lines.split(u'\n', Qt::SkipEmptyParts))
        pairs << line.mid(17).section(QStringLiteral("  "), 0, 0).split(u' ');
    return pairs;
}

} // namespace

TEST(MonitorCli, TheFirstLineComesWithin300MsOfItsFirstByteAndATimedEndIsQuiet)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QProcess cli;
    cli.start(QStringLiteral(FERROX_CLI_BINARY), monitorArguments(board, "--count 300"));
    QByteArray out;
    while (!out.contains('\n') && cli.waitForReadyRead(5000))
        out += cli.readAllStandardOutput();
    const QTime printed = QTime::currentTime();
    ASSERT_TRUE(out.contains('\n')) << cli.readAllStandardError().toStdString();
    const QTime firstByte = QTime::fromString(QString::fromUtf8(out.left(12)), QStringLiteral("HH:mm:ss.zzz"));
    ASSERT_TRUE(firstByte.isValid()) << out.toStdString();
    EXPECT_LT(firstByte.msecsTo(printed), 300);

    ASSERT_TRUE(cli.waitForFinished(10000));
    EXPECT_EQ(cli.exitCode(), 0);
    out += cli.readAllStandardOutput();
    EXPECT_EQ(hexPairs(QString::fromUtf8(out)).size(), 300);

    // Ended by its --seconds, it prints the bytes and nothing but the check's line.
    const CliRun stopped = runCli(monitorArguments(board, "--format hex --seconds 1"));
    EXPECT_EQ(stopped.exitCode, 0);
    EXPECT_TRUE(stopped.out.startsWith(' ')) << stopped.out.toStdString();
    EXPECT_EQ(stopped.err.count(u'\n'), 1) << "the check's line alone: " << stopped.err.toStdString();
}

// The board sends without a pause (a piece every 5 ms), so a line ends only
// where the sender changes or 16 bytes are full: a line cut short before
// one of the same sender is a gap the program's reads made, not the line.
TEST(MonitorCli, AStreamWithoutIdleGapsIsNotSplitByItsReads)
{
    BoardProcess board(words("--traffic modbus --loop --rate 1920"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(monitorArguments(board, "--count 1000"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.text().split(u'\n', Qt::SkipEmptyParts);
    int cutShort = 0;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const bool sameSender = lines[i].mid(13, 3) == lines[i + 1].mid(13, 3);
        if (sameSender && hexPairs(lines[i]).size() < 16)
            ++cutShort;
    }
    // A stall of the whole machine may still cut one now and then.
    EXPECT_LE(cutShort, lines.size() / 20) << run.out.toStdString();
}
