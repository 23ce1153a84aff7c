// ferrox-cli export read back by tshark: Wireshark's own reading of the
// pcap must show the conversation's bytes, directions and times.
#include "boardprocess.h"
#include "clirun.h"

#include "data/datatesting.h"
#include "support/testfiles.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace ferrox::testing;

namespace {

// tshark's fields of every frame, one line each; empty when it failed.
QString tsharkFields(const QString &pcap)
{
    QProcess tshark;
    tshark.start(QStringLiteral("tshark"), QStringList {QStringLiteral("-r"), pcap}
                                               << words("-T fields -e frame.time_epoch -e rtacser.eventtype -e data.data"));
    const bool read = tshark.waitForFinished(60000) && tshark.exitCode() == 0;
    return QString::fromUtf8(read ? tshark.readAllStandardOutput() : tshark.readAllStandardError());
}

} // namespace

TEST(ExportCli, TsharkReadsThePcapAsTheConversation)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("poll.dat")),
                                   byJ1("\x02POLL\x03") + byJ2("\x06") + byJ1("Q") + byJ2("\xB1\xFF") + endCode());
    writeFile(data + QStringLiteral(".times"), "2026-12-06T22:00:51.250000+09:00\n0\t1000\n12\t3500\n16\t9000\n");
    // An existing file of that name is replaced whole.
    const QString pcap = writeFile(dir.filePath(QStringLiteral("poll.pcap")), QByteArray(100000, 'x'));
    const CliRun run = runCli({QStringLiteral("export"), data, QStringLiteral("--format"), QStringLiteral("pcap"),
                               QStringLiteral("-o"), pcap});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(tsharkFields(pcap).toStdString(), std::string("1796562051.251000000\t0x01\t02504f4c4c03\n"
                                                 "1796562051.253500000\t0x02\t06\n"
                                                 "1796562051.253500000\t0x01\t51\n"
                                                 "1796562051.259000000\t0x02\tb1ff\n"));
}

TEST(SplitCaptureCli, TheFilesJoinedAreTheBoardsTrafficAndEachOpensWithItsTimes)
{
    QTemporaryDir dir;
    // A conversation of 3,000 monitored bytes in turns of varied length.
    QByteArray traffic;
    for (int i = 0; traffic.size() < 6000; ++i)
        traffic += i % 2 ? byJ1(QByteArray(i % 9 + 1, char(i))) : byJ2(QByteArray(i % 4 + 1, char(0x80 + i)));
    BoardProcess board(QStringList{QStringLiteral("--traffic"), writeFile(dir.filePath(QStringLiteral("traffic.dat")), traffic)}
                       << words("--rate 20000"));
    FERROX_START_BOARD(board);

    // An odd size cuts where a monitored byte would split: it waits for the next file.
    const QString out = dir.filePath(QStringLiteral("long.dat"));
    const CliRun run = runCli(QStringList {QStringLiteral("capture"), QStringLiteral("--device"), board.linkPath(),
                                           QStringLiteral("-o"), out}
                              << words("--seconds 1.5 --split-bytes 999"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("long-*.dat")}, QDir::Files);
    ASSERT_GE(files.size(), 7) << run.err.toStdString();
    QByteArray joined;
    for (const QString &name : files) {
        const QByteArray stream = readFile(dir.filePath(name));
        EXPECT_LE(stream.size(), 1000) << name.toStdString();
        EXPECT_TRUE(stream.endsWith(endCode())) << name.toStdString();
        joined += stream.chopped(1);
        EXPECT_TRUE(QFile::exists(dir.filePath(name) + QStringLiteral(".times"))) << name.toStdString();
    }
    EXPECT_EQ(joined, traffic);
}
