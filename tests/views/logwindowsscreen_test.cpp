// The log windows inside the real main window, on the demo conversation:
// modes 3, 4 and 5 side by side, and bytes found in mode 4 with direction
// colours. With FERROX_SCREENSHOT=path.png (docs/logwindows.png) or
// FERROX_SCREENSHOT_FIND=path.png (docs/find.png) the main window is saved
// as an image; both are made so under Xvfb.
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
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class DemoInTheMainWindow : public testing::Test
{
protected:
    // Opens the demo conversation, written into dataDir, as a data file.
    QString openDemo(const QSize &size, const QString &dataDir)
    {
        window.resize(size);
        window.show();
        window.activateWindow(); // shortcuts need an active window
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        logs = new LogWindowsHookup(window, dir.path() + QLatin1Char('/'));
        const QString file = writeFile(dataDir + QStringLiteral("/demo.dat"), demoTraffic() + char(0xFF));
        dialogs.chooseFile(file);
        window.menuItem(QStringLiteral("mnuFileOpenDataFile"))->trigger();
        return file;
    }

    QTemporaryDir dir;
    MemorySettingsStore store;
    FakeDialogs dialogs;
    MainWindow window{store, dialogs};
    LogWindowsHookup *logs = nullptr;
};
using LogWindowsInTheMainWindow = DemoInTheMainWindow;
using FindInTheMainWindow = DemoInTheMainWindow;

TEST_F(LogWindowsInTheMainWindow, DemoConversationInModesThreeFourAndFiveSideBySide)
{
    const QString file = openDemo(QSize(1900, 1000), dir.path());
    const auto enabled = [&](const char *item) { return window.menuItem(QLatin1String(item))->isEnabled(); };
    ASSERT_EQ(logs->registry().OpenLogWindowCount(), 1);
    EXPECT_TRUE(enabled("mnuMonitorLogOpen3"));
    EXPECT_TRUE(window.windowTitle().endsWith(file));
    window.mdiArea()->closeAllSubWindows();

    for (int k : {3, 4, 5})
        window.menuItem(QStringLiteral("mnuMonitorLogOpen%1").arg(k))->trigger();
    ASSERT_EQ(logs->registry().OpenLogWindowCount(), 3);
    for (qint32 n : {2, 3, 4}) {
        auto *w = dynamic_cast<DocumentWindow *>(logs->registry().LogWindows(n));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 10000));
    }
    EXPECT_TRUE(enabled("mnuFileSaveTextFile") && enabled("mnuFilePrint"));
    window.menuItem(QStringLiteral("mnuWindowTileVertical"))->trigger();
    QTest::qWait(50);

    // Mode 4's lines are 80 columns: in its tiled window each shows on one line.
    auto *exchange = dynamic_cast<DocumentWindow *>(logs->registry().LogWindows(3));
    EXPECT_TRUE(exchange->caption().contains(QStringLiteral("モード4 <EXCHANGE>")));
    const QTextDocument *doc = exchange->textView()->document();
    int checked = 0;
    for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next()) {
        if (b.text().contains(QStringLiteral("|J1→")) && b.layout()->lineCount() > 0) {
            EXPECT_EQ(b.layout()->lineCount(), 1) << qPrintable(b.text());
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);

    // The fifth button shows mode 5 like the menu item.
    window.findChild<QPushButton *>(QStringLiteral("Cmd_DpOpen(4)"))->click();
    EXPECT_EQ(logs->monitorLog().DisplayModeNumber(), 5);
    window.mdiArea()->activeSubWindow()->close();

    if (const QString shot = qEnvironmentVariable("FERROX_SCREENSHOT"); !shot.isEmpty())
        EXPECT_TRUE(window.grab().save(shot));
}

TEST_F(FindInTheMainWindow, ModeFourWithColoursAndABytePatternFound)
{
    const QString shot = qEnvironmentVariable("FERROX_SCREENSHOT_FIND");
    const QString dataDir = shot.isEmpty() ? dir.path() : QDir::tempPath() + QStringLiteral("/logs"); // tidy
    QDir().mkpath(dataDir);
    openDemo(QSize(1000, 640), dataDir);
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

    // The View menu's switches keep their states in a section of our own;
    // printouts are coloured only when asked.
    window.menuItem(QStringLiteral("mnuViewDirectionColors"))->trigger();
    EXPECT_FALSE(w->highlighter()->directionColors());
    EXPECT_EQ(store.values.value(QStringLiteral("ferrox/LogView/DirectionColors")), QStringLiteral("0"));
    window.menuItem(QStringLiteral("mnuViewDirectionColors"))->trigger();
    EXPECT_FALSE(logs->area().printColors());
    window.menuItem(QStringLiteral("mnuViewPrintColors"))->trigger();
    EXPECT_TRUE(logs->area().printColors());
    EXPECT_EQ(store.values.value(QStringLiteral("ferrox/LogView/PrintColors")), QStringLiteral("1"));
    if (!shot.isEmpty()) {
        QTest::qWait(100); // the linked cells follow the selection
        EXPECT_TRUE(window.grab().save(shot));
        QFile::remove(dataDir + QStringLiteral("/demo.dat"));
    }
}

} // namespace
