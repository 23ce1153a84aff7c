// Wireshark and tshark watching the simulated board through ferrox-cli: a
// live pcap stream read while the capture runs, and ferrox-cli as an
// extcap interface found and run by tshark as a user other than root.
#include "boardprocess.h"
#include "support/clirun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QString tshark()
{
    return QStandardPaths::findExecutable(QStringLiteral("tshark"));
}

#define FERROX_NEED_TSHARK()                                \
    do {                                                    \
        if (tshark().isEmpty())                             \
            GTEST_SKIP() << "tshark is not installed here"; \
    } while (false)

} // namespace

TEST(WiresharkCli, TsharkReadsTheLivePcapStreamWhileTheCaptureRuns)
{
    FERROX_NEED_TSHARK();
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("line.dat"));
    QProcess cli;
    QProcess reader;
    cli.setStandardOutputProcess(&reader);
    reader.start(tshark(), words("-l -r -"));
    cli.start(QStringLiteral(FERROX_CLI_BINARY),
              words("capture --device") << board.linkPath() << words("--format pcap --seconds 4 -o") << data);
    ASSERT_TRUE(cli.waitForStarted(5000));
    QByteArray packets; // tshark prints a line a packet
    while (packets.count('\n') < 3 && reader.waitForReadyRead(5000))
        packets += reader.readAllStandardOutput();
    EXPECT_GE(packets.count('\n'), 3) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(cli.state(), QProcess::Running) << "the packets came while the capture ran";

    ASSERT_TRUE(cli.waitForFinished(15000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    ASSERT_TRUE(reader.waitForFinished(15000));
    EXPECT_EQ(reader.exitCode(), 0);
    // The data file and its arrival times, as without the live stream.
    EXPECT_GT(QFileInfo(data).size(), 100);
    EXPECT_TRUE(QFileInfo::exists(data + QStringLiteral(".times")));
}

// A reader that goes away ends the capture long before its 30 seconds,
// with the board stopped: the next check finds it answering.
TEST(WiresharkCli, AClosedPcapReaderEndsTheCaptureWithTheBoardStopped)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QProcess cli;
    QProcess head;
    cli.setStandardOutputProcess(&head);
    head.start(QStringLiteral("head"), words("-c 100"));
    cli.start(QStringLiteral(FERROX_CLI_BINARY),
              words("capture --device") << board.linkPath() << words("--format pcap --seconds 30 -o -"));
    ASSERT_TRUE(cli.waitForFinished(15000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(runCli(words("check --device") << board.linkPath()).exitCode, 0);
}

TEST(WiresharkCli, TsharkAsAnotherUserListsTheInterfaceAndCapturesFromTheBoard)
{
    FERROX_NEED_TSHARK();
    if (::geteuid() != 0)
        GTEST_SKIP() << "changing to another user needs root";
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    // The other user reaches the board's terminal, the link and a folder of its own.
    QFile::setPermissions(board.slavePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                                 | QFileDevice::WriteOther);
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    ASSERT_TRUE(QFile::link(QStringLiteral(FERROX_CLI_BINARY), dir.filePath(QStringLiteral("ferrox-extcap"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WIRESHARK_EXTCAP_DIR"), dir.path());
    environment.insert(QStringLiteral("FERROX_COM1"), board.slavePath());
    environment.insert(QStringLiteral("HOME"), dir.path());
    const auto asNobody = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral("setpriv"), words("--reuid=65534 --regid=65534 --clear-groups") << tshark() << arguments);
        EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(u' ').toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    };

    const QByteArray interfaces = asNobody(words("-D"));
    EXPECT_TRUE(interfaces.contains("ferrox-COM1 (ferrox line monitor (" + QFile::encodeName(board.slavePath()) + "))"))
        << interfaces.toStdString();
    const QByteArray packets = asNobody(words("-l -i ferrox-COM1 -a duration:3"));
    EXPECT_GT(packets.count('\n'), 0);
}
