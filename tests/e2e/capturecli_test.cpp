// ferrox-cli capture against the simulated board on a pseudo-terminal: the
// files it leaves, its end on SIGTERM, and one exit status of each kind;
// with --resume, against boards killed and started again at the same link
// path, as a board is power-cycled or an adapter pulled and put back.
#include "boardprocess.h"
#include "support/clirun.h"

#include "board/traffic.h"

#include <QDir>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QByteArray endCode(1, char(0xFF));

// ferrox-cli running, its standard error read as it comes; without an
// output file, its standard output is a pipe whose reader has gone away
// (as with "| head").
class RunningCli
{
public:
    RunningCli(const QStringList &arguments, const QString &outputFile)
    {
        if (!outputFile.isEmpty())
            m_process.setStandardOutputFile(outputFile);
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
        if (outputFile.isEmpty() && m_process.waitForStarted(5000))
            m_process.closeReadChannel(QProcess::StandardOutput);
    }
    ~RunningCli()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    // True once standard error holds `text` (within timeoutMs).
    bool saidWithin(const QString &text, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (!m_err.contains(text.toUtf8()) && !waited.hasExpired(timeoutMs)) {
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
                break;
            m_err += m_process.readAllStandardError();
        }
        return m_err.contains(text.toUtf8());
    }
    QProcess &process() { return m_process; }
    CliRun ended() { return endedRun(m_process, m_err); }

private:
    QProcess m_process;
    QByteArray m_err;
};

// The monitored bytes the records of a live pcap stream carry, after
// their serial-line headers.
qint64 pcapPayload(const QByteArray &pcap)
{
    constexpr qsizetype fileHeader = 24, recordHeader = 16, serialHeader = 12;
    qint64 payload = 0;
    for (qsizetype at = fileHeader; at + recordHeader <= pcap.size();) {
        const auto length = qFromLittleEndian<quint32>(pcap.constData() + at + 8);
        payload += length - serialHeader;
        at += recordHeader + length;
    }
    return payload;
}

QStringList boardOptions(int seed)
{
    return words("--loop --rate 4000 --traffic") << QStringLiteral("random:%1").arg(seed);
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
    RunningCli cli(arguments(board, "--pc-speed 115200 --direction j1-to-j2 --monitor-speed 57600 --mode 1 --utf8 --text")
                       << textPath(),
                   {});
    ASSERT_TRUE(cli.saidWithin(QStringLiteral("モニター開始 ... "), 5000));
    cli.process().waitForFinished(1000);
    cli.process().terminate();
    const CliRun run = cli.ended();
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

// Done when: the board killed and started again at the same path twice,
// the capture ends at --seconds with status 0; each file examines with no
// error, and the files of each board, its first one carrying the loss in
// its sidecar, hold what that board sent from its start on, in order; the
// live pcap stream goes on across the losses and carries the same bytes.
TEST(ResumeCli, ASplitCaptureGoesOnAcrossTwoBoardsKilledAndStartedAgain)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("by-id/usb-ferrox-if00"));
    QDir().mkpath(dir.filePath(QStringLiteral("by-id")));
    std::vector<std::unique_ptr<BoardProcess>> boards;
    boards.push_back(std::make_unique<BoardProcess>(link, boardOptions(1)));
    FERROX_START_BOARD(*boards.back());
    const QString pcap = dir.filePath(QStringLiteral("live.pcap"));
    RunningCli cli(words("capture --split-bytes 5000 --resume --seconds 7 --format pcap --device")
                       << link << QStringLiteral("-o") << dir.filePath(QStringLiteral("long.dat")),
                   pcap);
    ASSERT_TRUE(cli.saidWithin(QStringLiteral("モニター開始 ... "), 5000));
    for (int seed : {2, 3}) {
        QThread::msleep(1200);
        boards.back()->process().kill();
        boards.back()->process().waitForFinished(3000);
        // Gone a second. Its link goes as udev removes an unplugged
        // adapter's: left dangling, it would lead to whatever pty of the
        // machine takes the number next.
        QFile::remove(link);
        QThread::msleep(1000);
        boards.push_back(std::make_unique<BoardProcess>(link, boardOptions(seed)));
        ASSERT_TRUE(boards.back()->start()) << boards.back()->errors().toStdString();
        ASSERT_TRUE(cli.saidWithin(QStringLiteral("resume %1 goes on").arg(seed - 1), 5000));
    }
    const CliRun run = cli.ended();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("resumes: 2\n"))) << run.err.toStdString();

    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("long-*.dat")}, QDir::Files, QDir::Name);
    QList<QByteArray> streams; // each board's, its files joined
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        const CliRun examined = runCli({QStringLiteral("examine"), path});
        EXPECT_EQ(examined.exitCode, 0);
        EXPECT_EQ(examined.text(), QStringLiteral("sequence errors: 0\n"));
        const bool afterLoss = readFile(path + QStringLiteral(".times")).split('\n').value(1).startsWith("link-lost\t");
        if (streams.isEmpty() || afterLoss)
            streams.append(QByteArray());
        streams.last() += readFile(path).chopped(1);
    }
    ASSERT_EQ(streams.size(), 3) << files.join(u' ').toStdString();
    EXPECT_EQ(pcapPayload(readFile(pcap)), (streams[0].size() + streams[1].size() + streams[2].size()) / 2);
    for (int board = 0; board < 3; ++board) {
        SCOPED_TRACE(board);
        EXPECT_GT(streams[board].size(), 1000);
        const QByteArray once = randomTraffic(board + 1); // the board's looped stream from its start
        EXPECT_EQ(streams[board], once.repeated(streams[board].size() / once.size() + 1).first(streams[board].size()));
    }
}

// A second capture on a device the first holds says it is in use, once,
// and waits; it takes the board over when the first ends.
TEST(ResumeCli, ASecondCaptureOnTheDeviceWaitsForTheFirst)
{
    BoardProcess board(boardOptions(1));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    RunningCli first(words("capture --seconds 2 --device") << board.linkPath() << QStringLiteral("-o")
                                                            << dir.filePath(QStringLiteral("first.dat")),
                     QProcess::nullDevice());
    ASSERT_TRUE(first.saidWithin(QStringLiteral("モニター開始 ... "), 5000));
    RunningCli second(words("capture --split-bytes 262144 --resume --seconds 4 --device")
                          << board.linkPath() << QStringLiteral("-o") << dir.filePath(QStringLiteral("second.dat")),
                      QProcess::nullDevice());
    EXPECT_EQ(first.ended().exitCode, 0);
    const CliRun run = second.ended();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("waiting for the link: ")), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("は他のプログラムが使用中です。"))) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("second-00001.dat")))) << run.err.toStdString();
}

} // namespace
