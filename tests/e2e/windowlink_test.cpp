// The main window's link to a simulated board on a real pseudo-terminal:
// start-up, a typed device path, a capture and the close, through the
// window's own controls; the long capture into a series of files and its
// automatic reconnect across a board killed and started again at the same
// link path; and the window program's end on SIGTERM.
#include "app/appfixture.h"
#include "app/ui/colorbox.h"
#include "app/ui/linkcontroller.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "board/traffic.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "support/clirun.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// The window with its link; port 1 is the board's link, every other port is missing.
class WindowLink : public AppTest
{
protected:
    // `ini`: the settings file as a user left it.
    bool build(BoardProcess &board, const QByteArray &ini = {})
    {
        writeFile(iniPath(), ini);
        port = std::make_unique<QtSerialPort>(
            [link = board.linkPath()](int n) { return n == 1 ? link : link + QStringLiteral(".missing"); });
        return wireWindow(*port);
    }

    std::unique_ptr<QtSerialPort> port;
};

TEST_F(WindowLink, ATypedDevicePathIsThePort)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board, "[Settings2]\nCOM_Port=COM2\n")); // a missing port to begin with

    bool finished = false;
    QObject::connect(&wiring->link().check(), &ConnectionCheck::checkFinished, [&] { finished = true; });
    QLineEdit *typed = window().settingsPanel()->comPort()->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, board.linkPath());
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_TRUE(wiring->state().BoardVerified());
    EXPECT_EQ(stored(QStringLiteral("COM_Port")), board.linkPath());
}

// The start-up check of the newest firmware at the fast jumper, then a
// capture stored byte for byte; the close closes the port.
TEST_F(WindowLink, StartUpThenACaptureStoresWhatTheBoardSentByteForByte)
{
    BoardProcess board(words("--traffic demo --rate 5000 --firmware V1.05 --jumper 115200"));
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board, "[Settings2]\nCOM_speed=115200\n"));
    ASSERT_TRUE(wiring->state().BoardVerified());
    menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    const QByteArray traffic = demoTraffic();
    CaptureRun &run = wiring->monitor().run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.CaptureCount() >= traffic.size(); }, 5000));
    menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wiring->state().MonitorBusy(); }, 5000));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("rs_data.dat"))), traffic + QByteArray(1, char(0xFF)));
    window().close();
    EXPECT_FALSE(port->isOpen());
}

// The window closed while the simple monitor streams: its stop goes out
// and the port closes at once; the board, which hears only bytes read at
// its jumper's speed, must hear it and answer the next check.
TEST_F(WindowLink, ClosingWithTheSimpleMonitorOnLeavesTheBoardStopped)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board));
    ASSERT_TRUE(wiring->state().BoardVerified());
    QSignalSpy arrived(port.get(), &SerialPort::bytesArrived);
    menuItem(QStringLiteral("mnuMonitorTemp"))->trigger();
    ASSERT_TRUE(arrived.wait(3000)) << "streaming";
    window().close();
    ASSERT_FALSE(port->isOpen());
    EXPECT_TRUE(board.isQuiet());
    const CliRun check = runCli(words("check --device") << board.linkPath());
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
}

class WindowLongCapture : public WindowLink
{
protected:
    // The window on the board at port 1, its long capture on into `long/`.
    bool build(BoardProcess &board, const QByteArray &longCapture)
    {
        return WindowLink::build(board, "[LongCapture]\nOn=1\nFileBytes=4000\nFolder=" + folder().toUtf8() + "\n" + longCapture);
    }
    QString folder() const { return dir.filePath(QStringLiteral("long")); }
    LongCaptureControls &longCapture() { return wiring->monitor().longCapture(); }
    qint64 filesWritten() { return longCapture().capture()->output()->files().written(); }
    // The series' data files, in order.
    QStringList files() const
    {
        QStringList paths;
        const QDir folderDir(folder());
        for (const QString &name : folderDir.entryList({QStringLiteral("long-*.dat")}, QDir::Files, QDir::Name))
            paths << folderDir.filePath(name);
        return paths;
    }
    bool stopped()
    {
        menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
        return QTest::qWaitFor([&] { return !wiring->state().MonitorBusy(); }, 8000);
    }
    // Every file examines with no sequence error.
    void expectSound(const QStringList &paths)
    {
        for (const QString &path : paths) {
            SCOPED_TRACE(path.toStdString());
            const CliRun examined = runCli({QStringLiteral("examine"), path});
            EXPECT_EQ(examined.text(), QStringLiteral("sequence errors: 0\n"));
        }
    }
    QString counter() { return window().settingsPanel()->receivedBytesLabel()->text(); }
};

// Start, traffic, Stop: the files hold the demo conversation from its
// start on, each whole; the counter shows the run's bytes; a finished
// file opens while the capture goes on; the board hears its stop.
TEST_F(WindowLongCapture, StartAndStopWriteASeriesOfSoundFiles)
{
    BoardProcess board(words("--traffic demo --loop --rate 4000"));
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board, {}));
    ASSERT_TRUE(wiring->state().BoardVerified());
    menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return longCapture().capture() && filesWritten() >= 2; }, 10000));
    EXPECT_TRUE(wiring->state().MonitorBusy());

    const QString first = files().value(0);
    dialogs.chooseFile(first);
    QAction *open = menuItem(QStringLiteral("mnuLongCaptureOpen"));
    ASSERT_TRUE(open->isEnabled());
    open->trigger();
    EXPECT_EQ(dialogs.fileRequests.last().initialFolder, QDir::toNativeSeparators(folder()));
    EXPECT_EQ(wiring->state().data().CaptureTimestamp, QDir::toNativeSeparators(first));
    EXPECT_TRUE(longCapture().isRunning());

    ASSERT_TRUE(stopped());
    EXPECT_TRUE(board.isQuiet());
    const SplitOutput &output = *longCapture().capture()->output();
    EXPECT_TRUE(counter().startsWith(QString::number(output.monitoredBytes()) + QStringLiteral(" / ")))
        << counter().toStdString();
    const QStringList paths = files();
    ASSERT_GE(paths.size(), 3);
    expectSound(paths);
    QByteArray joined;
    for (const QString &path : paths)
        joined += readFile(path).chopped(1);
    const QByteArray once = demoTraffic();
    EXPECT_EQ(joined, once.repeated(joined.size() / once.size() + 1).first(joined.size()));
    EXPECT_EQ(output.savedMonitoredBytes(), joined.size() / 2);
}

// The board killed: the window says it waits (status line, yellow lamp);
// a new board at the same path: the capture goes on in the next file,
// whose sidecar records the lost link. The window closed then leaves the
// board stopped and the link alone for good: a capture that would resume
// must not reach for a link that was shut down.
TEST_F(WindowLongCapture, AutomaticReconnectWaitsThenGoesOnInTheNextFile)
{
    QTemporaryDir boards;
    const QString link = boards.filePath(QStringLiteral("usb-ferrox-if00"));
    auto board = std::make_unique<BoardProcess>(link, words("--traffic demo --loop --rate 4000"));
    FERROX_START_BOARD(*board);
    ASSERT_TRUE(build(*board, "Reconnect=1\n"));
    menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return longCapture().capture() && filesWritten() >= 1; }, 10000));

    board->process().kill();
    board->process().waitForFinished(3000);
    QFile::remove(link); // as udev takes an unplugged adapter's link away
    ASSERT_TRUE(QTest::qWaitFor([&] { return wiring->state().waitingForLink(); }, 5000));
    QTest::qWait(300); // a lamp period
    EXPECT_TRUE(window().statusText().contains(QStringLiteral("再接続を待っています"))) << window().statusText().toStdString();
    EXPECT_EQ(window().settingsPanel()->receiveLamp()->color(), QColor(Qt::yellow));
    const qint64 before = filesWritten();

    board = std::make_unique<BoardProcess>(link, words("--traffic demo --loop --rate 4000"));
    ASSERT_TRUE(board->start()) << board->errors().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wiring->state().waitingForLink(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return filesWritten() >= before + 1; }, 10000));
    window().close();
    QTest::qWait(2500); // past the capture's retry period
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(board->isQuiet());

    const QStringList paths = files();
    expectSound(paths);
    const QString resumed = paths.value(before);
    EXPECT_TRUE(readFile(resumed + QStringLiteral(".times")).split('\n').value(1).startsWith("link-lost\t"))
        << resumed.toStdString();
}

// The window program on the board's link, its folders in `dir`.
class WindowProgram : public ::testing::Test
{
protected:
    void start(const BoardProcess &board)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *folder : {"FERROX_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QLatin1String(folder), dir.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("FERROX_COM1"), board.linkPath());
        ferrox.setProcessEnvironment(environment);
        ferrox.start(QStringLiteral(FERROX_BINARY), {});
    }

    // SIGTERM, then the end of a program that closed its window.
    void expectEndsInOrderOnSigterm()
    {
        ferrox.terminate();
        ASSERT_TRUE(ferrox.waitForFinished(60000));
        EXPECT_EQ(ferrox.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(ferrox.exitCode(), 0);
        QFile ini(dir.filePath(QStringLiteral("ferrox/ferrox.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_TRUE(ini.readAll().contains("MainLeft=")) << "the window's geometry stored";
    }

    QTemporaryDir dir;
    QProcess ferrox;
};

TEST_F(WindowProgram, EndsInOrderOnSigterm)
{
    BoardProcess board(words("--tell-heard"));
    FERROX_START_BOARD(board);
    start(board);
    // Up, its port open and its start-up check under way (a loaded machine
    // may let the board's reply come too late: the check then fails).
    ASSERT_TRUE(board.waitUntilHeard('V')) << ferrox.readAllStandardError().toStdString();
    expectEndsInOrderOnSigterm();
}

// A SIGTERM that comes while the window is still being built: the program
// has taken its single-instance lock, nothing more.
TEST_F(WindowProgram, EndsInOrderOnASigtermWhileItStarts)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    start(board);
    const QString lock = dir.filePath(QStringLiteral("ferrox.lock"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(lock); }, 60000));
    expectEndsInOrderOnSigterm();
}

} // namespace
