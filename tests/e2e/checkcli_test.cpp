// ferrox-cli check, signals and monitor against the simulated board on a
// pseudo-terminal; of monitor, how soon it prints, what it prints, and its
// quiet ends.
#include "boardprocess.h"
#include "support/clirun.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTime>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

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

TEST(SignalsCli, OneReadoutLinePerSampleAThirdOfASecondApartOrJson)
{
    BoardProcess board(words("--signals 0xA5"));
    FERROX_START_BOARD(board);
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli(words("signals --count 3 --device") << board.linkPath());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.text(), u"DCD● RxD◎ TxD● DTR◎ DSR◎ RTS● CTS◎ RIN● \n"_s.repeated(3));
    EXPECT_GE(clock.elapsed(), 3 * 333);
    EXPECT_TRUE(run.err.contains(u"通信確認ＯＫ。"_s)) << run.err.toStdString();

    // For programs: a JSON object a sample, each signal true when active.
    const CliRun json = runCli(words("signals --count 2 --format json") << board.linkPath());
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QList<QByteArray> lines = json.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << json.out.toStdString();
    const QJsonObject sample = QJsonDocument::fromJson(lines.constFirst()).object();
    EXPECT_FALSE(sample.value(u"DCD").toBool()) << lines.constFirst().toStdString(); // as "DCD●" in the readout
    EXPECT_TRUE(sample.value(u"RxD").toBool());                                       // as "RxD◎"
    EXPECT_TRUE(sample.value(u"time_utc").toString().endsWith(u'Z'));
}

// The device as the command's argument, as terminal programs take it, and
// COMn as the window maps it; without one, the devices found are offered.
// The outcomes' texts are the exchanges' test; here, a verified board's lines.
TEST(CheckCli, TheDeviceIsItsArgumentOrTheWindowsNumberedPort)
{
    BoardProcess board(words("--firmware V1.04 --jumper 115200"));
    FERROX_START_BOARD(board);
    const QString link = board.linkPath();
    const struct { const char *script; int exitCode; QString told; } cases[] = {
        {"\"$0\" check \"$1\" --pc-speed 115200 --dtr --rts", 0, link + u":通信確認ＯＫ。\nV1.04\n"_s},
        {"FERROX_COM7=\"$1\" \"$0\" check com7 --pc-speed 115200", 0, u"COM7:通信確認ＯＫ。"_s},
        {"\"$0\" check", 2, u"name the link port's device"_s},
        {"\"$0\" check /dev/ttyS0 --device \"$1\"", 2, {}},
        {"\"$0\" check --device board1", 2, u"/dev/board1"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.script);
        const CliRun run = runShell({}, QString::fromUtf8(c.script), {link});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? run.text() : run.err).contains(c.told)) << run.out.toStdString() << run.err.toStdString();
    }
}

// A device that answers with escape sequences must not drive the user's terminal.
TEST(CheckCli, AForeignReplyIsPrintedWithItsControlBytesEscaped)
{
    BoardProcess board(QStringList{QStringLiteral("--id"), QStringLiteral("\x1b]0;X\x07\x9b")});
    FERROX_START_BOARD(board);
    const CliRun run = runCli(words("check --device") << board.linkPath());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"\\x1B]0;X\\x07\\xC2\\x9B "))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QChar(0x1B)));
}

TEST(CheckCli, APortInUseIsNamedWithItsHolder)
{
    // Held by a sampling ferrox-cli through the link: the check through
    // the pseudo-terminal's own name finds it in use, and by whom.
    BoardProcess board;
    FERROX_START_BOARD(board);
    QProcess holder;
    holder.start(QStringLiteral(FERROX_CLI_BINARY), words("signals --device") << board.linkPath());
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    const qint64 holderId = holder.processId();
    const CliRun held = runCli(words("check --device") << board.slavePath());
    holder.terminate();
    holder.waitForFinished(5000);
    EXPECT_EQ(held.exitCode, 3);
    EXPECT_TRUE(held.err.contains(QStringLiteral(" は他のプログラムが使用中です。（プロセス %1 (ferrox-cli)）").arg(holderId)))
        << held.err.toStdString();
    EXPECT_FALSE(held.err.contains(QStringLiteral("root")));
}

TEST(SignalsCli, InterruptedBeforeItsFirstSampleItFails)
{
    BoardProcess board(words("--silent"));
    FERROX_START_BOARD(board);
    QProcess cli;
    cli.start(QStringLiteral(FERROX_CLI_BINARY), words("signals --device") << board.linkPath());
    ASSERT_TRUE(cli.waitForStarted(5000));
    EXPECT_FALSE(cli.waitForFinished(500)) << "the check waits longer for a silent board";
    cli.terminate();
    ASSERT_TRUE(cli.waitForFinished(5000));
    EXPECT_EQ(cli.exitCode(), 3);
    EXPECT_TRUE(cli.readAllStandardError().contains("interrupted before the first sample"));
}

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

} // namespace
