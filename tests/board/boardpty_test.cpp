// ferrox-board end to end: the built program on a real pseudo-terminal,
// talked to through the program's own serial port class.
#include "board/traffic.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "support/testfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

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

// The board's process stopped while it lives, so that what the port is set
// to when the board reads is the test's choice, not a race.
class Paused
{
public:
    explicit Paused(BoardProcess &board) : m_pid(board.process().processId())
    {
        // Never pid 0: that would be the test's own process group.
        if (m_pid <= 0)
            return;
        ::kill(pid_t(m_pid), SIGSTOP);
        // The signal is sent at once but taken on the process's next step:
        // stopped is when its state says so.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_pid));
        (void)QTest::qWaitFor([&] {
            stat.open(QIODevice::ReadOnly);
            const QByteArray fields = stat.readAll();
            stat.close();
            return fields.mid(fields.lastIndexOf(')') + 2, 1) == "T";
        }, 2000);
    }
    ~Paused()
    {
        if (m_pid > 0)
            ::kill(pid_t(m_pid), SIGCONT);
    }
    Paused(const Paused &) = delete;
    Paused &operator=(const Paused &) = delete;

private:
    qint64 m_pid;
};

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

// The board judges each byte by the link speed when it reads it. A stop
// written just before a close that puts the port's former settings back (a
// fresh device's 9600 baud, as QSerialPort's own close does) reaches it at
// the wrong speed and is lost: the stream goes on. The program's port keeps
// the link's settings, so its stop is heard.
TEST(BoardPty, AStopIsHeardOnlyWhileThePortKeepsTheLinkSpeed)
{
    BoardProcess board(words("--jumper 115200 --traffic modbus --loop --rate 1920"));
    FERROX_START_BOARD(board);
    for (const bool programsPort : {false, true}) {
        SCOPED_TRACE(programsPort ? "the program's port" : "a port that puts its settings back");
        std::unique_ptr<QtSerialPort> programs;
        QSerialPort plain(board.linkPath());
        if (programsPort) {
            programs = openPort(board, 115200);
        } else {
            plain.setBaudRate(115200);
            ASSERT_TRUE(plain.open(QIODevice::ReadWrite));
        }
        const auto write = [&](const QByteArray &command) {
            return programs ? programs->write(command) : plain.write(command) == 1 && plain.flush();
        };
        ASSERT_TRUE(write("G"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return (programs ? programs->bytesWaiting() : plain.bytesAvailable()) >= 16; },
                                    3000)) << "streaming";
        {
            const Paused paused(board);
            ASSERT_TRUE(write("E"));
            if (programs)
                programs->close();
            else
                plain.close();
        }
        // Listening leaves the speed as the close left it, however late
        // the board reads the stop.
        EXPECT_EQ(board.isQuiet(), programsPort);
    }
}

// --pieces split: a monitored byte's halves reach the program in separate
// reads, which whole writes of this traffic never do.
TEST(BoardPty, SplitPiecesArriveInSeparateReads)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000 --pieces split"));
    FERROX_START_BOARD(board);
    const auto port = openPort(board, 57600);
    int endingWithAHighHalf = 0;
    QObject::connect(port.get(), &SerialPort::bytesArrived, port.get(), [&] {
        const QByteArray read = port->readAll();
        if (!read.isEmpty() && isHighNibble(static_cast<std::uint8_t>(read.back())))
            ++endingWithAHighHalf;
    });
    ASSERT_TRUE(port->write(QByteArray("G")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return endingWithAHighHalf >= 3; }, 3000));
    ASSERT_TRUE(port->write(QByteArray("E")));
}

// A stale link is replaced; a file in its place is never touched.
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
