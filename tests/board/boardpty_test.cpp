// ferrox-board end to end: the built program on a real pseudo-terminal,
// talked to through the program's own serial port class.
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "support/testfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::BoardProcess;
using ferrox::test::words;
using ferrox::test::readFile;
using ferrox::test::writeFile;

namespace {

// Opens the board's link path at a link speed such as " 57600".
std::unique_ptr<QtSerialPort> openPort(const BoardProcess &board, int linkSpeed)
{
    const QString path = board.linkPath();
    auto port = std::make_unique<QtSerialPort>([path](int) { return path; });
    EXPECT_TRUE(port->setSettings(linkSettingsText(linkSpeed)));
    EXPECT_TRUE(port->open()) << "port error " << port->lastError();
    return port;
}

// Reads from the port until at least atLeast bytes came or timeoutMs passed.
QByteArray readFor(SerialPort &port, qsizetype atLeast, int timeoutMs)
{
    QByteArray bytes;
    (void)QTest::qWaitFor([&] { return (bytes += port.readAll()).size() >= atLeast; }, timeoutMs);
    return bytes;
}

} // namespace

// Linked at the path given until terminated; deaf at a link speed other than
// its jumper's; closing and reopening the port, as a connection check does,
// does not cost it its line. (Captures through it: the command line's tests.)
TEST(BoardPty, LinkedUntilTerminatedAndDeafAtAnotherLinkSpeed)
{
    BoardProcess board(words("--jumper 115200"));
    FERROX_START_BOARD(board);
    EXPECT_TRUE(board.slavePath().startsWith(QLatin1String("/dev/")));
    EXPECT_EQ(QFileInfo(board.linkPath()).symLinkTarget(), board.slavePath());
    auto port = openPort(board, 57600);
    ASSERT_TRUE(port->write(QByteArray("V")));
    EXPECT_TRUE(readFor(*port, 1, 600).isEmpty());
    port->close();
    port = openPort(board, 115200);
    ASSERT_TRUE(port->write(QByteArray("VS")));
    EXPECT_EQ(readFor(*port, 24, 3000).left(23), QByteArray("Ferrox LM V1.05  9600\r\xD2"));
    port->close();
    board.process().terminate(); // SIGTERM
    ASSERT_TRUE(board.process().waitForFinished(5000));
    EXPECT_EQ(board.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(board.process().exitCode(), 0);
    EXPECT_FALSE(QFileInfo(board.linkPath()).isSymLink());
}

TEST(BoardPty, LinkPathIsReplacedOnlyWhenItIsALink)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("com1"));
    const QStringList arguments{QStringLiteral("--link"), path};
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/pts/99"), path));
    QProcess stale;
    stale.start(BoardProcess::binary(), arguments);
    ASSERT_TRUE(stale.waitForReadyRead(10000));
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), QString::fromLocal8Bit(stale.readLine()).trimmed());
    stale.terminate();
    ASSERT_TRUE(stale.waitForFinished(5000));

    writeFile(path, "keep me");
    QProcess blocked;
    blocked.start(BoardProcess::binary(), arguments);
    ASSERT_TRUE(blocked.waitForFinished(10000));
    EXPECT_EQ(blocked.exitCode(), 1);
    EXPECT_TRUE(blocked.readAllStandardError().contains("not a link"));
    EXPECT_EQ(readFile(path), QByteArray("keep me"));
}
