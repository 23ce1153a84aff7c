// The window's capture against the built ferrox-board on a pseudo-terminal:
// the stored data file equals what the board sent, byte for byte; and the
// window program ends in order on SIGTERM.
#include "app/session.h"
#include "app/ui/mainwindow.h"
#include "app/ui/monitorcontrols.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "support/fakedialogs.h"

#include "board/traffic.h"

#include <QAction>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WindowCaptureOverAPty, TheDataFileHoldsWhatTheBoardSent)
{
    BoardProcess board(words("--traffic demo --rate 5000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    QtSettingsStore store(dir.filePath(QStringLiteral("ferrox.ini")));
    FakeDialogs dialogs;
    MainWindow window(store, dialogs);
    const QString link = board.linkPath();
    QtSerialPort port([link](int) { return link; });
    Session session(window, port, dir.path() + u'/');
    bool checked = false;
    session.startUp([&] { checked = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return checked; }, 5000));
    ASSERT_TRUE(session.BoardVerified());

    window.menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.monitor().run().CaptureCount() >= traffic.size(); }, 5000));
    window.menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session.MonitorBusy() && !session.monitor().run().isActive(); }, 5000));

    EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("rs_data.dat"))), traffic + QByteArray(1, char(0xFF)));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(WindowProgram, EndsInOrderOnSigterm)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("FERROX_HOME"), dir.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    environment.insert(QStringLiteral("FERROX_COM1"), board.linkPath());
    QProcess ferrox;
    ferrox.setProcessEnvironment(environment);
    ferrox.start(QStringLiteral(FERROX_BINARY), {});
    ASSERT_TRUE(ferrox.waitForStarted(5000));
    // Up and checking the board: well past the start-up.
    ASSERT_FALSE(ferrox.waitForFinished(3000)) << ferrox.readAllStandardError().toStdString();
    ferrox.terminate();
    ASSERT_TRUE(ferrox.waitForFinished(10000));
    EXPECT_EQ(ferrox.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ferrox.exitCode(), 0);
    const QByteArray ini = contentOf(dir.filePath(QStringLiteral("ferrox/ferrox.ini")));
    EXPECT_TRUE(ini.contains("MainLeft=")) << ini.toStdString();
}

} // namespace
