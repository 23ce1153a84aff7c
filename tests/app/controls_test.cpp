// Every control of the main window is reachable by its name, of its class and
// in its start state; the menus in their order.
#include "appfixture.h"


#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList names(const char *spaced)
{
    return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
}

// The panel's start states; its names and classes the other tests reach it by.
TEST_F(AppTest, PanelControlsStartInTheirStates)
{
    EXPECT_EQ(window().objectName(), QStringLiteral("frmMain"));
    for (const QString &name : names("Frame2 Data_only DataAndParity Cmd_DpOpen(0) Cmd_DpOpen(4)"))
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name.toStdString();
    for (const QString &name : names("Pic_red ProgressBar1"))
        EXPECT_TRUE(find<QWidget>(name)->isHidden()) << name.toStdString();
    for (const QString &name : names("Data_only Option_Hex Check_RecByte"))
        EXPECT_TRUE(find<QAbstractButton>(name)->isChecked()) << name.toStdString();
    EXPECT_FALSE(find<QAbstractButton>(QStringLiteral("Check_DTR"))->isChecked());
}

TEST_F(AppTest, EveryMenuInOrderWithItsItemsInTheirStartStates)
{
    const std::pair<const char *, const char *> menus[] = {
        {"mnuFile", "mnuFileOpenDataFile mnuFileSaveDataFile mnuFileExportData mnuFileOpenTextFile "
                    "mnuFileSaveTextFile mnuFilePageSetup mnuFilePrint mnuFileExit"},
        {"mnuMonitor", "mnuMonitorStart mnuMonitorStop mnuMonitorTemp mnuRateMeasure mnuMonitorBar2 mnuModify"},
        {"mnuDpOpen", "mnuMonitorLogOpen1 mnuMonitorLogOpen2 mnuMonitorLogOpen3 mnuMonitorLogOpen4 "
                      "mnuMonitorLogOpen5 mnuMonitorLogTimeline"},
        {"mnuView", "mnuViewSetting mnuViewToolbar mnuViewStatusBar"},
        {"mnuWindow", "mnuWindowCascade mnuWindowTileHorizontal mnuWindowTileVertical mnuWindowArrangeIcons"},
        {"mnuHelp", "mnuHelpContents mnuHelpSearchForHelpOn mnuHelpAbout"},
    };
    // A hidden item is also disabled (its shortcut must not work) until shown.
    const QStringList disabled = names("mnuFileSaveDataFile mnuFileExportData mnuFileSaveTextFile mnuFilePrint "
                                       "mnuRateMeasure mnuMonitorBar2 mnuModify mnuMonitorLogOpen1 mnuMonitorLogOpen2 "
                                       "mnuMonitorLogOpen3 mnuMonitorLogOpen4 mnuMonitorLogOpen5 mnuMonitorLogTimeline");
    const QStringList hidden = names("mnuMonitorBar2 mnuModify");
    const QStringList checked = names("mnuViewSetting mnuViewToolbar mnuViewStatusBar");
    const QMap<QString, QKeySequence> shortcuts = {{QStringLiteral("mnuFileOpenDataFile"), QKeySequence(QStringLiteral("Ctrl+O"))},
                                                   {QStringLiteral("mnuFileSaveDataFile"), QKeySequence(QStringLiteral("Ctrl+S"))}};
    const QList<QAction *> top = window().menuBar()->actions();
    ASSERT_EQ(top.size(), std::size(menus));
    for (qsizetype i = 0; i < top.size(); ++i) {
        const QString menuName = QLatin1String(menus[i].first);
        ASSERT_NE(top.at(i)->menu(), nullptr);
        EXPECT_EQ(top.at(i)->menu()->objectName(), menuName);
        EXPECT_EQ(window().menu(menuName), top.at(i)->menu());
        for (const QString &name : names(menus[i].second)) {
            SCOPED_TRACE(name.toStdString());
            QAction *item = window().menuItem(name);
            ASSERT_NE(item, nullptr);
            EXPECT_TRUE(top.at(i)->menu()->actions().contains(item));
            EXPECT_EQ(item->isEnabled(), !disabled.contains(name));
            EXPECT_EQ(item->isVisible(), !hidden.contains(name));
            EXPECT_EQ(item->isCheckable(), checked.contains(name));
            EXPECT_EQ(item->isChecked(), checked.contains(name));
            EXPECT_EQ(item->shortcut(), shortcuts.value(name));
        }
    }
    EXPECT_FALSE(window().menu(QStringLiteral("mnuDpOpen"))->isEnabled());
}

} // namespace
