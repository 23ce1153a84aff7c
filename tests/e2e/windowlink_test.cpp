// The main window's link to a simulated board on a real pseudo-terminal:
// start-up, a typed device path, a capture and the close, through the
// window's own controls; and the window program's end on SIGTERM.
#include "app/appfixture.h"
#include "app/ui/linkcontroller.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "board/traffic.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "support/clirun.h"
#include "support/testfiles.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// The window with its link; port 1 is the board's link, every other port is missing.
class WindowLink : public AppTest
{
protected:
    bool build(BoardProcess &board, const QByteArray &settings = {})
    {
        writeSettings(settings);
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
    ASSERT_TRUE(build(board, "COM_Port=COM2\n")); // a missing port to begin with

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
    ASSERT_TRUE(build(board, "COM_speed=115200\n"));
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
