// The log windows inside the real main window, on the demo conversation:
// modes 3, 4 and 5 tiled side by side, then bytes found in mode 4 with
// direction colours. With FERROX_SCREENSHOT=path.png (docs/logwindows.png)
// and FERROX_SCREENSHOT_FIND=path.png (docs/find.png) the main window is
// saved as an image at each step; both are made so under Xvfb.
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
#include "session/monitorsession.h"
#include "board/traffic.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/documentwindow.h"
#include "views/ui/findbar.h"
#include "views/ui/logtextview.h"

#include "support/fakedialogs.h"
#include "support/fakestores.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

TEST(FindInTheMainWindow, ModesSideBySideThenABytePatternFoundInModeFour)
{
    const QString shot = qEnvironmentVariable("FERROX_SCREENSHOT");
    const QString findShot = qEnvironmentVariable("FERROX_SCREENSHOT_FIND");
    QTemporaryDir dir;
    const QString dataDir = shot.isEmpty() && findShot.isEmpty() ? dir.path() : QDir::tempPath() + QStringLiteral("/logs"); // tidy
    QDir().mkpath(dataDir);
    MemorySettingsStore store;
    FakeDialogs dialogs;
    MonitorSession session; // outlives the window's hookup
    MainWindow window{store, dialogs};
    window.resize(1900, 1000);
    window.show();
    window.activateWindow(); // shortcuts need an active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const LogWindowsHookup::Items items{&window,          window.mdiArea(), &window.menus(), window.settingsPanel(),
                                        &window,          &dialogs,         &window.settings()};
    auto *logs = new LogWindowsHookup(items, session, dir.path() + QLatin1Char('/'));
    // As the window's wiring does: the data commands follow the session.
    QObject::connect(&session, &MonitorSession::changed, &window,
                     [&] { window.setDataCommandsEnabled(session.hasCurrentData()); });
    dialogs.chooseFile(writeFile(dataDir + QStringLiteral("/demo.dat"), demoTraffic() + char(0xFF)));
    window.findChild<QAction *>(QStringLiteral("mnuFileOpenDataFile"))->trigger();
    const auto showMode = [&](int mode) {
        window.findChild<QAction *>(QStringLiteral("mnuMonitorLogOpen%1").arg(mode))->trigger();
        auto *w = dynamic_cast<DocumentWindow *>(logs->registry().newest());
        EXPECT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 10000));
        return w;
    };
    window.mdiArea()->closeAllSubWindows();
    showMode(3);
    DocumentWindow *w = showMode(4);
    showMode(5);
    window.findChild<QAction *>(QStringLiteral("mnuWindowTileVertical"))->trigger();
    QTest::qWait(50);
    // Mode 4's lines are 80 columns: in its tiled window each shows on one line.
    const QTextBlock j1Line = w->textView()->document()->find(QStringLiteral("|J1→")).block();
    EXPECT_EQ(j1Line.layout()->lineCount(), 1) << qPrintable(j1Line.text());
    if (!shot.isEmpty()) {
        EXPECT_TRUE(window.grab().save(shot));
    }

    window.resize(1000, 640);
    window.mdiArea()->closeAllSubWindows();
    w = showMode(4);
    w->parentWidget()->showMaximized();
    QTest::keyClick(w->textView(), Qt::Key_F, Qt::ControlModifier);
    w->findBar()->findChild<QComboBox *>(QStringLiteral("findKind"))->setCurrentIndex(1);
    auto *text = w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"));
    QTest::keyClicks(text, QStringLiteral("44 30 32 03"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(w->textView(), Qt::Key_F3);
    EXPECT_EQ(w->findBar()->findChild<QLabel *>(QStringLiteral("findResult"))->text(), QStringLiteral("2 件中 2 件目"));
    // The View menu's switches keep their states in a section of our own; printouts are coloured only when asked.
    window.findChild<QAction *>(QStringLiteral("mnuViewDirectionColors"))->trigger();
    EXPECT_FALSE(w->highlighter()->directionColors());
    EXPECT_EQ(store.values.value(QStringLiteral("ferrox/LogView/DirectionColors")), QStringLiteral("0"));
    window.findChild<QAction *>(QStringLiteral("mnuViewDirectionColors"))->trigger();
    EXPECT_FALSE(logs->area().printColors());
    window.findChild<QAction *>(QStringLiteral("mnuViewPrintColors"))->trigger();
    EXPECT_EQ(store.values.value(QStringLiteral("ferrox/LogView/PrintColors")), QStringLiteral("1"));
    if (!findShot.isEmpty()) {
        QTest::qWait(100); // the linked cells follow the selection
        EXPECT_TRUE(window.grab().save(findShot));
    }
    if (dataDir != dir.path())
        QFile::remove(dataDir + QStringLiteral("/demo.dat"));
}
