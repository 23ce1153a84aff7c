// Every control of the main window is reachable by its name and starts in its
// state; the menus in their order.
#include "appfixture.h"

#include "app/ui/maintoolbar.h"

#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>

#include <utility>

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
    EXPECT_FALSE(menuItem(QStringLiteral("mnuModify"))->isVisible());
    EXPECT_FALSE(menu(QStringLiteral("mnuDpOpen"))->isEnabled());
    EXPECT_EQ(menuItem(QStringLiteral("mnuHelpContents"))->shortcut(), QKeySequence(Qt::Key_F1));
}

// The program reaches each item through a member of its own; a member
// wired to the wrong row would run the wrong command.
TEST_F(AppTest, EachTypedItemIsTheItemOfItsName)
{
    const MainMenu &m = window().menus();
    const MainToolBar &bar = *window().toolBar();
    const std::pair<QObject *, const char *> items[] = {
        {m.openDataFile, "mnuFileOpenDataFile"}, {m.saveDataFile, "mnuFileSaveDataFile"},
        {m.exportData, "mnuFileExportData"}, {m.openTextFile, "mnuFileOpenTextFile"},
        {m.saveTextFile, "mnuFileSaveTextFile"}, {m.pageSetup, "mnuFilePageSetup"}, {m.print, "mnuFilePrint"},
        {m.exit, "mnuFileExit"}, {m.monitorStart, "mnuMonitorStart"}, {m.monitorStop, "mnuMonitorStop"},
        {m.monitorTemp, "mnuMonitorTemp"}, {m.rateMeasure, "mnuRateMeasure"},
        {m.modifySeparator, "mnuMonitorBar2"}, {m.modify, "mnuModify"}, {m.display, "mnuDpOpen"},
        {m.displayModes[0], "mnuMonitorLogOpen1"}, {m.displayModes[1], "mnuMonitorLogOpen2"},
        {m.displayModes[2], "mnuMonitorLogOpen3"}, {m.displayModes[3], "mnuMonitorLogOpen4"},
        {m.displayModes[4], "mnuMonitorLogOpen5"},
        {m.timeline, "mnuMonitorLogTimeline"}, {m.frames, "mnuMonitorLogFrames"},
        {m.viewSetting, "mnuViewSetting"}, {m.viewToolbar, "mnuViewToolbar"},
        {m.viewStatusBar, "mnuViewStatusBar"}, {m.viewDirectionColors, "mnuViewDirectionColors"},
        {m.viewPrintColors, "mnuViewPrintColors"}, {m.window, "mnuWindow"},
        {m.windowItems.cascade, "mnuWindowCascade"}, {m.windowItems.tileHorizontal, "mnuWindowTileHorizontal"},
        {m.windowItems.tileVertical, "mnuWindowTileVertical"}, {m.windowItems.arrangeIcons, "mnuWindowArrangeIcons"},
        {m.helpContents, "mnuHelpContents"}, {m.helpSearch, "mnuHelpSearchForHelpOn"},
        {m.helpAbout, "mnuHelpAbout"}, {bar.start(), "スタート"}, {bar.stop(), "ストップ"},
        {bar.settings(), "設定"}, {bar.simpleMonitor(), "簡易モニタ"}};
    for (const auto &[item, name] : items)
        EXPECT_EQ(item, find<QObject>(QString::fromUtf8(name))) << name;
}

} // namespace
