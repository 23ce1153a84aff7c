// ferrox-board end to end: the built program on a real pseudo-terminal,
// talked to through the program's own serial port class.
#include "board/traffic.h"
#include "boardtesting.h"
#include "platform/qtserialport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::tagSequenceErrors;
using ferrox::test::waitUntil;

namespace {

const QByteArray defaultReply("Ferrox LM V1.05  9600\r");

// One ferrox-board process with its link in a folder of its own.
class BoardProcess
{
public:
    explicit BoardProcess(const QStringList &options = {})
    {
        linkPath = dir.filePath(QStringLiteral("com1"));
        process.start(QStringLiteral(FERROX_BOARD_BINARY), QStringList {QStringLiteral("--link"), linkPath} + options);
    }
    ~BoardProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // Waits for the printed slave path. False when the board could not
    // start; noPty then says whether it was for want of a pseudo-terminal.
    bool ready()
    {
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(10000))
                break;
        }
        if (!process.canReadLine()) {
            process.waitForFinished(5000);
            errors = QString::fromLocal8Bit(process.readAllStandardError());
            noPty = errors.contains(QLatin1String("pseudo-terminal"));
            return false;
        }
        slavePath = QString::fromLocal8Bit(process.readLine()).trimmed();
        return true;
    }

    // Opens the link path at a link speed such as " 57600".
    std::unique_ptr<QtSerialPort> openPort(const QString &speedText)
    {
        auto port = std::make_unique<QtSerialPort>([this](int) { return linkPath; });
        EXPECT_TRUE(port->setSettings(linkSettingsText(speedText)));
        EXPECT_TRUE(port->open()) << "port error " << port->lastError();
        return port;
    }

    QTemporaryDir dir;
    QString linkPath;
    QString slavePath;
    QString errors;
    bool noPty = false;
    QProcess process;
};

#define START_BOARD(board)                                                                         \
    do {                                                                                           \
        if (!(board).ready()) {                                                                    \
            if ((board).noPty)                                                                     \
                GTEST_SKIP() << "no pseudo-terminal can be had here: " << (board).errors.toStdString(); \
            FAIL() << "ferrox-board did not start: " << (board).errors.toStdString();             \
        }                                                                                          \
    } while (false)

// Reads from the port until at least atLeast bytes came or timeoutMs passed.
QByteArray readFor(SerialPort &port, qsizetype atLeast, int timeoutMs)
{
    QByteArray bytes;
    waitUntil(
        [&] {
            bytes += port.readAll();
            return bytes.size() >= atLeast;
        },
        timeoutMs);
    return bytes;
}

// Processor time a process has used so far, in clock ticks.
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // Fields after the command name (which may hold spaces): utime is the
    // 12th, stime the 13th.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

} // namespace

TEST(BoardPty, PrintsTheSlavePathAndLinksItAtThePathGiven)
{
    BoardProcess board;
    START_BOARD(board);
    EXPECT_TRUE(board.slavePath.startsWith(QLatin1String("/dev/")));
    const QFileInfo link(board.linkPath);
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget(), board.slavePath);
}

TEST(BoardPty, AnswersOnlyAtTheLinkSpeedOfItsJumper)
{
    for (const int jumper : {57600, 115200}) {
        BoardProcess board({QStringLiteral("--jumper"), QString::number(jumper)});
        START_BOARD(board);
        const QString right = jumper == 57600 ? QStringLiteral(" 57600") : QStringLiteral("115200");
        const QString wrong = jumper == 57600 ? QStringLiteral("115200") : QStringLiteral(" 57600");

        auto port = board.openPort(wrong);
        ASSERT_TRUE(port->write(QByteArray("V")));
        EXPECT_TRUE(readFor(*port, 1, 600).isEmpty()) << "jumper " << jumper;
        port->close();

        // Closing and reopening the port, as a connection check does, must
        // not cost the board its line.
        for (int round = 0; round < 2; ++round) {
            port = board.openPort(right);
            ASSERT_TRUE(port->write(QByteArray("V")));
            EXPECT_EQ(readFor(*port, 22, 3000), defaultReply) << "jumper " << jumper << " round " << round;
            ASSERT_TRUE(port->write(QByteArray("S")));
            EXPECT_EQ(readFor(*port, 2, 3000).left(1), QByteArray("\xD2", 1));
            port->close();
        }
    }
}

TEST(BoardPty, IdleBoardSleepsAfterThePortCloses)
{
    BoardProcess board;
    START_BOARD(board);
    auto port = board.openPort(QStringLiteral(" 57600"));
    ASSERT_TRUE(port->write(QByteArray("V")));
    EXPECT_EQ(readFor(*port, 22, 3000), defaultReply);
    port->close();
    const qint64 before = cpuTicks(board.process.processId());
    if (before < 0)
        GTEST_SKIP() << "no /proc here to read processor time from";
    QTest::qWait(1000);
    // A board spinning on a slave-less terminal would burn the whole second
    // (100 ticks); an idle one uses next to nothing.
    EXPECT_LT(cpuTicks(board.process.processId()) - before, 20);
}

TEST(BoardPty, ShortCaptureEndsWithTheEndCodeInValidTagOrder)
{
    BoardProcess board({QStringLiteral("--traffic"), QStringLiteral("random:5"), QStringLiteral("--rate"),
                        QStringLiteral("5000")});
    START_BOARD(board);
    auto port = board.openPort(QStringLiteral(" 57600"));
    ASSERT_TRUE(port->write(QByteArray("4")));
    ASSERT_TRUE(port->write(QByteArray("G")));
    QByteArray stream = readFor(*port, 301, 5000);
    ASSERT_GT(stream.size(), 300);
    ASSERT_TRUE(port->write(QByteArray("E")));
    ASSERT_TRUE(waitUntil([&] {
        stream += port->readAll();
        return stream.endsWith('\xFF');
    }));
    stream += readFor(*port, stream.size() + 1, 300); // nothing may follow the end code
    ASSERT_TRUE(stream.endsWith('\xFF'));
    EXPECT_EQ(stream.count('\xFF'), 1);
    EXPECT_EQ(stream.size() % 2, 1);
    EXPECT_EQ(tagSequenceErrors(stream), 0);
    EXPECT_TRUE(randomTraffic(5).startsWith(stream.chopped(1)));
}

TEST(BoardPty, FloodArrivesWholeThroughAFullTerminalQueue)
{
    constexpr int flood = 200'000;
    BoardProcess board({QStringLiteral("--flood"), QString::number(flood), QStringLiteral("--rate"),
                        QStringLiteral("1")});
    START_BOARD(board);
    auto port = board.openPort(QStringLiteral(" 57600"));
    ASSERT_TRUE(port->write(QByteArray("G")));
    const QByteArray stream = readFor(*port, flood, 20000);
    ASSERT_EQ(stream.size(), flood);
    EXPECT_EQ(tagSequenceErrors(stream), 0);
    const QByteArray demo = demoTraffic();
    EXPECT_EQ(stream.left(demo.size() * 3), demo.repeated(3));
}

TEST(BoardPty, SilentBoardNeverAnswers)
{
    BoardProcess board({QStringLiteral("--silent")});
    START_BOARD(board);
    auto port = board.openPort(QStringLiteral(" 57600"));
    ASSERT_TRUE(port->write(QByteArray("VSGM")));
    EXPECT_TRUE(readFor(*port, 1, 800).isEmpty());
}

TEST(BoardPty, HangupLooksLikeAnUnpluggedAdapter)
{
    BoardProcess board({QStringLiteral("--hangup-after"), QStringLiteral("0.5")});
    START_BOARD(board);
    auto port = board.openPort(QStringLiteral(" 57600"));
    QSignalSpy lineErrors(port.get(), &SerialPort::lineError);
    ASSERT_TRUE(port->write(QByteArray("V")));
    EXPECT_EQ(readFor(*port, 22, 3000), defaultReply);
    EXPECT_TRUE(waitUntil([&] { return lineErrors.count() > 0; }, 5000));
    ASSERT_TRUE(board.process.waitForFinished(5000));
    EXPECT_EQ(board.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(board.process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(board.linkPath).isSymLink());
}

TEST(BoardPty, TerminationRemovesTheLink)
{
    BoardProcess board;
    START_BOARD(board);
    ASSERT_TRUE(QFileInfo(board.linkPath).isSymLink());
    board.process.terminate(); // SIGTERM
    ASSERT_TRUE(board.process.waitForFinished(5000));
    EXPECT_EQ(board.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(board.process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(board.linkPath).isSymLink());
}

TEST(BoardPty, StaleLinkIsReplacedButAFileIsLeftAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("com1"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/pts/99"), path));
    QProcess stale;
    stale.start(QStringLiteral(FERROX_BOARD_BINARY), {QStringLiteral("--link"), path});
    ASSERT_TRUE(stale.waitForReadyRead(10000));
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), QString::fromLocal8Bit(stale.readLine()).trimmed());
    stale.terminate();
    ASSERT_TRUE(stale.waitForFinished(5000));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QProcess refused;
    refused.start(QStringLiteral(FERROX_BOARD_BINARY), {QStringLiteral("--link"), path});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitCode(), 1);
    EXPECT_TRUE(refused.readAllStandardError().contains("not a link"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
}

TEST(BoardPty, BadArgumentsExitWithStatusTwoAndSayWhy)
{
    const struct
    {
        QStringList arguments;
        const char *mentions;
    } cases[] = {
        {{QStringLiteral("--link"), QStringLiteral("/tmp/x"), QStringLiteral("--jumper"), QStringLiteral("9600")},
         "jumper"},
        {{QStringLiteral("--link"), QStringLiteral("/tmp/x"), QStringLiteral("--traffic"),
          QStringLiteral("/nonexistent/a.dat")},
         "/nonexistent/a.dat"},
        {{}, "--link"},
    };
    for (const auto &c : cases) {
        QProcess process;
        process.start(QStringLiteral(FERROX_BOARD_BINARY), c.arguments);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 2) << c.mentions;
        EXPECT_TRUE(process.readAllStandardError().contains(c.mentions)) << c.mentions;
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/x")));
    }
}
