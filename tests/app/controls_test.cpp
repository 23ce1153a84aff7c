// Every control of the main window is reachable by its name and starts in its
// state; the menus in their order.
#include "appfixture.h"

#include <QAbstractButton>
#include <QMenuBar>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList names(const char *spaced) { return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts); }

TEST_F(AppTest, ControlsAndMenusStartInTheirStates)
{
    for (const QString &name : names("Frame2 Data_only Cmd_DpOpen(0) Cmd_DpOpen(4)"))
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name.toStdString();
    for (const QString &name : names("Pic_red ProgressBar1"))
        EXPECT_TRUE(find<QWidget>(name)->isHidden()) << name.toStdString();
    for (const QString &name : names("Data_only Option_Hex Check_RecByte"))
        EXPECT_TRUE(find<QAbstractButton>(name)->isChecked()) << name.toStdString();

    const QStringList menus = names("mnuFile mnuMonitor mnuDpOpen mnuView mnuWindow mnuHelp");
    const QList<QAction *> top = window().menuBar()->actions();
    ASSERT_EQ(top.size(), menus.size());
    for (qsizetype i = 0; i < top.size(); ++i)
        EXPECT_EQ(top.at(i)->menu(), menu(menus[i])) << i;
    // A hidden item is also disabled (its shortcut must not work) until shown.
    for (const QString &name : names("mnuFileSaveDataFile mnuRateMeasure mnuModify"))
        EXPECT_FALSE(menuItem(name)->isEnabled()) << name.toStdString();
    EXPECT_FALSE(menu(QStringLiteral("mnuDpOpen"))->isEnabled());
    EXPECT_EQ(menuItem(QStringLiteral("mnuHelpContents"))->shortcut(), QKeySequence(Qt::Key_F1));
}

} // namespace
