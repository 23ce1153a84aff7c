// The editor's menu entry revealed from the About icon; its store becomes the
// current data. The frame view opened from the display menu.
#include "appfixture.h"
#include "app/ui/logwindowshookup.h"
#include "data/monitordata.h"
#include "data/texts.h"
#include "frames/ui/framewindow.h"
#include "views/ui/logtextview.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST_F(AppTest, AboutRevealsTheEditorWhoseStoreBecomesTheCurrentData)
{
    ASSERT_TRUE(wireToBoard());
    window().show();
    QAction *modify = menuItem(QStringLiteral("mnuModify"));
    // The icon reveals the editor only once the About window was first closed.
    const auto openAbout = [&] {
        menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
        return QPointer<QWidget>(window().findChild<QWidget *>(QStringLiteral("frmAbout")));
    };
    QPointer<QWidget> about = openAbout();
    ASSERT_TRUE(about);
    about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.isNull(); }, 3000));
    EXPECT_FALSE(modify->isVisible());
    about = openAbout();
    QTest::mouseDClick(about->findChild<QLabel *>(QStringLiteral("picIcon")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.isNull(); }, 3000));
    EXPECT_TRUE(modify->isVisible());

    // Times of a captured stream, and their sidecar, must not survive an edit.
    wiring->state().setCurrentData({CaptureBuffer(), QString(), ArrivalTimes{}});
    const QString sidecar = writeFile(dir.filePath(QStringLiteral("rs_data.dat.times")), "x");
    modify->trigger();
    QPointer<QWidget> editor = window().findChild<QWidget *>(QStringLiteral("frmModify"));
    ASSERT_TRUE(editor);
    auto *view = editor->findChild<LogTextView *>(QStringLiteral("RTModify"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isLoading(); }, 3000));
    view->setPlainText(QStringLiteral("A4 B1 80 96 FF"));
    editor->findChild<QAction *>(QStringLiteral("mnuDataSave"))->trigger();
    EXPECT_EQ(wiring->state().data().capture.stream(), QByteArray::fromHex("A4B18096FF"));
    EXPECT_FALSE(wiring->state().data().times);
    EXPECT_FALSE(QFile::exists(sidecar));

    // Nothing but the end code is refused as an empty capture is: the data stays.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isLoading(); }, 3000));
    view->setPlainText(QStringLiteral("FF"));
    editor->findChild<QAction *>(QStringLiteral("mnuDataSave"))->trigger();
    EXPECT_EQ(wiring->state().data().capture.stream(), QByteArray::fromHex("A4B18096FF"));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("rs_data.dat"))), QByteArray::fromHex("A4B18096FF"));
    EXPECT_EQ(dialogs.messages.value(dialogs.messages.size() - 1).text, DataTexts::noMonitorData());
}
} // namespace

// The view's saves never replace the data it shows: the opened data file,
// the program's own copy, or their arrival times.
TEST_F(AppTest, TheDisplayMenusFrameItemOpensAFrameViewOfTheCurrentDataThatKnowsItsFiles)
{
    ASSERT_TRUE(wireToBoard());
    window().show();
    const QString shown = writeFile(dir.filePath(QStringLiteral("mb.dat")), "data");
    wiring->state().setCurrentData({CaptureBuffer::fromStream(QByteArray::fromHex("A4B1A2B3809F9090FF")), shown, {}});
    menuItem(QStringLiteral("mnuMonitorLogFrames"))->trigger();
    auto *view = window().findChild<FrameWindow *>(QStringLiteral("FrameWindow"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->findChild<QTableView *>(QStringLiteral("FrameTable"))->model()->rowCount(), 2);
    for (const char *kept : {"mb.dat", "mb.dat.times", "rs_data.dat"}) {
        dialogs.chooseFile(dir.filePath(QLatin1String(kept)));
        EXPECT_FALSE(view->saveShownFrames()) << kept;
    }
    EXPECT_EQ(readFile(shown), "data");
}
