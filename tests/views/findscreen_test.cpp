// Finding bytes in the real main window: the demo conversation in mode 4
// with direction colours and a byte sequence found. With
// FERROX_SCREENSHOT_FIND=path.png the main window is saved as an image
// (docs/find.png is made so, under Xvfb).
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
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
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

TEST(FindInTheMainWindow, ModeFourWithColoursAndABytePatternFound)
{
    const QString shot = qEnvironmentVariable("FERROX_SCREENSHOT_FIND");
    QTemporaryDir scratch;
    const QString dataDir = shot.isEmpty() ? scratch.path() : QDir::tempPath() + QStringLiteral("/logs"); // tidy
    QDir().mkpath(dataDir);
    MemorySettingsStore store;
    FakeDialogs dialogs;
    MainWindow window(store, dialogs);
    window.resize(1000, 640);
    window.show();
    window.activateWindow(); // shortcuts need an active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *logs = new LogWindowsHookup(window, scratch.path() + QLatin1Char('/'));
    dialogs.chooseFile(writeFile(dataDir + QStringLiteral("/demo.dat"), demoTraffic() + char(0xFF)));
    window.menuItem(QStringLiteral("mnuFileOpenDataFile"))->trigger();
    window.menuItem(QStringLiteral("mnuMonitorLogOpen4"))->trigger();
    auto *w = dynamic_cast<DocumentWindow *>(logs->registry().newest());
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 10000));
    w->parentWidget()->showMaximized();
    EXPECT_TRUE(w->highlighter()->directionColors()); // on by default

    QTest::keyClick(w->textView(), Qt::Key_F, Qt::ControlModifier);
    w->findBar()->findChild<QComboBox *>(QStringLiteral("findKind"))->setCurrentIndex(1);
    auto *text = w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"));
    QTest::keyClicks(text, QStringLiteral("44 30 32 03"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(w->textView(), Qt::Key_F3);
    EXPECT_EQ(w->findBar()->findChild<QLabel *>(QStringLiteral("findResult"))->text(), QStringLiteral("2 件中 2 件目"));

    // The View menu's switch keeps its state in a section of our own.
    window.menuItem(QStringLiteral("mnuViewDirectionColors"))->trigger();
    EXPECT_FALSE(w->highlighter()->directionColors());
    EXPECT_EQ(store.values.value(QStringLiteral("ferrox/LogView/DirectionColors")), QStringLiteral("0"));
    window.menuItem(QStringLiteral("mnuViewDirectionColors"))->trigger();
    if (!shot.isEmpty()) {
        QTest::qWait(100); // the linked cells follow the selection
        EXPECT_TRUE(window.grab().save(shot));
        QFile::remove(dataDir + QStringLiteral("/demo.dat"));
    }
}
