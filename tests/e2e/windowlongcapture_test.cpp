// The window's long capture against ferrox-board on a pseudo-terminal:
// Start into a series of files, a finished file opened while it runs, Stop
// in order; and the automatic reconnect across a board killed and started
// again at the same link path.
#include "app/appfixture.h"
#include "app/base/texts.h"
#include "app/ui/colorbox.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "board/traffic.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "support/clirun.h"
#include "support/testfiles.h"

#include <QDir>
#include <QLabel>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class WindowLongCapture : public AppTest
{
protected:
    // The window on the board at port 1, its long capture on into `long/`.
    bool build(BoardProcess &board, const QByteArray &longCapture)
    {
        writeFile(iniPath(), "[LongCapture]\nOn=1\nFileBytes=4000\nFolder=" + folder().toUtf8() + "\n" + longCapture);
        port = std::make_unique<QtSerialPort>(
            [link = board.linkPath()](int n) { return n == 1 ? link : link + QStringLiteral(".missing"); });
        return wireWindow(*port);
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

    std::unique_ptr<QtSerialPort> port;
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
    QByteArray sent;
    while (sent.size() < joined.size())
        sent += demoTraffic();
    EXPECT_EQ(joined, sent.first(joined.size()));
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

} // namespace
