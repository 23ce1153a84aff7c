// ferrox-cli capture --resume against ferrox-board processes that are
// killed and started again at the same link path, as a board is
// power-cycled or an adapter pulled and put back.
#include "boardprocess.h"
#include "support/clirun.h"

#include "board/traffic.h"

#include <QDir>
#include <QtEndian>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// ferrox-cli running, its standard error read as it comes.
class RunningCli
{
public:
    RunningCli(const QStringList &arguments, const QString &outputFile)
    {
        m_process.setStandardOutputFile(outputFile);
        m_process.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
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
