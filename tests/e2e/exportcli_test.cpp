// ferrox-cli export read back by tshark: Wireshark's own reading of the
// pcap must show the conversation's bytes, directions and times.
#include "boardprocess.h"
#include "support/clirun.h"

#include "data/datatesting.h"
#include "support/testfiles.h"

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
