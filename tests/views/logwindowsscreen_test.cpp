// The log windows inside the real main window: the demo conversation shown
// in modes 3, 4 and 5 side by side. With FERROX_SCREENSHOT=path.png the
// main window is saved as an image (docs/logwindows.png is made so, under
// Xvfb).
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
#include "board/traffic.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"
#include "views/ui/windowmenu.h"

#include "support/fakedialogs.h"
#include "support/fakestores.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST(LogWindowsInTheMainWindow, DemoConversationInModesThreeFourAndFiveSideBySide)
{
    QTemporaryDir dir;
    MemorySettingsStore store;
    FakeDialogs dialogs;
    MainWindow window(store, dialogs);
    window.resize(1900, 1000);
    window.show();
    auto *logs = new LogWindowsHookup(window, dir.path() + QLatin1Char('/'));
    const auto enabled = [&](const char *item) { return window.menuItem(QLatin1String(item))->isEnabled(); };

    const QString file = writeFile(dir.filePath(QStringLiteral("demo.dat")), demoTraffic() + char(0xFF));
    dialogs.chooseFile(file);
    window.menuItem(QStringLiteral("mnuFileOpenDataFile"))->trigger();
    ASSERT_EQ(logs->registry().OpenLogWindowCount(), 1);
    EXPECT_TRUE(enabled("mnuMonitorLogOpen3"));
    EXPECT_TRUE(window.windowTitle().endsWith(file));
    // Closing the last log window leaves nothing to save or print.
    EXPECT_TRUE(enabled("mnuFileSaveTextFile") && enabled("mnuFilePrint"));
    window.mdiArea()->closeAllSubWindows();
    EXPECT_FALSE(enabled("mnuFileSaveTextFile") || enabled("mnuFilePrint"));

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

    // The fifth button's tip says "<?>"; it shows mode 5 like the menu item.
    QPushButton *fifth = window.findChild<QPushButton *>(QStringLiteral("Cmd_DpOpen(4)"));
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->toolTip(), QStringLiteral("モニターログを表示：モード5 <?>"));
    fifth->click();
    EXPECT_EQ(logs->registry().newest()->caption(),
              QStringLiteral("モニターログ ： 表示モード5 <SAVE> - ") + file);
    EXPECT_EQ(logs->monitorLog().DisplayModeNumber(), 5);
    EXPECT_EQ(window.findChild<QLabel *>(QStringLiteral("Label_x"))->text(), QStringLiteral("4"));
    logs->registry().newest()->setCaption(QStringLiteral("spare"));
    window.mdiArea()->activeSubWindow()->close();

    const QByteArray shot = qgetenv("FERROX_SCREENSHOT");
    if (!shot.isEmpty()) {
        EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(shot)));
    }
}

} // namespace
