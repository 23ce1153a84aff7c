// Every control of the main window is reachable by its name, of its class and
// in its start state; the toolbar and the menus in their order.
#include "appfixture.h"

#include "app/ui/colorbox.h"
#include "platform/ui/appearance.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList names(const char *spaced)
{
    return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts);
}

TEST_F(AppTest, EveryPanelControlExistsUnderItsNameWithItsClassAndStartState)
{
    const std::pair<const char *, const char *> classes[] = {
        {"QScrollArea", "Picture_big"},
        {"QLabel", "Label_SettingsWindow Label_Com_port Label_PC_speed Label_Monitor_speed Label_Direction "
                   "Label_DisplayMode Label_RecByte Label_Byte Label_Signal Label_DBG Label_x Pic_red Pic_blk Pic_glay"},
        {"QGroupBox", "Frame2 Frame_ComSet Frame1 Frame_RecByte Frame_Signal"},
        {"QRadioButton", "Data_only DataAndParity Option_Hex Option_Txt"},
        {"QCheckBox", "Check_DTR Check_RTS Check_RecByte"},
        {"QPushButton", "Cmd_Port_Check Command_Help Command_READ Cmd_DpOpen(0) Cmd_DpOpen(1) Cmd_DpOpen(2) "
                        "Cmd_DpOpen(3) Cmd_DpOpen(4)"},
        {"ferrox::ColorBox", "Picture_DSR Picture_CTS Picture1"},
        {"QStatusBar", "sbStatusBar"},
        {"QMdiArea", "mdiArea"},
        {"QProgressBar", "ProgressBar1"},
    };
    // The lamps' reference images and the progress bar are never shown.
    const QStringList disabled = names("Frame2 Data_only DataAndParity Cmd_DpOpen(0) Cmd_DpOpen(1) Cmd_DpOpen(2) "
                                       "Cmd_DpOpen(3) Cmd_DpOpen(4)");
    const QStringList hidden = names("Pic_red Pic_blk Pic_glay ProgressBar1");
    const QStringList checked = names("Data_only Option_Hex Check_RecByte");
    EXPECT_EQ(window().objectName(), QStringLiteral("frmMain"));
    for (const auto &[className, spaced] : classes) {
        for (const QString &name : names(spaced)) {
            SCOPED_TRACE(name.toStdString());
            const auto *widget = find<QWidget>(name);
            if (!widget)
                continue;
            EXPECT_TRUE(widget->inherits(className)) << widget->metaObject()->className();
            EXPECT_EQ(widget->isEnabled(), !disabled.contains(name));
            EXPECT_EQ(widget->isHidden(), hidden.contains(name));
            if (auto *button = qobject_cast<const QAbstractButton *>(widget); button && button->isCheckable()) {
                EXPECT_EQ(button->isChecked(), checked.contains(name));
            }
        }
    }
    for (const char *counter : {"Label_RecByte", "Label_x"})
        EXPECT_EQ(find<QLabel>(QLatin1String(counter))->text(), QStringLiteral("0")) << counter;
}

TEST_F(AppTest, LampsStartGreyUnderTheirSignalNamesAndTheLinkLampsOff)
{
    const QStringList signalNames = names("DCD RxD TxD DTR DSR RTS CTS RIN");
    const QImage grey = find<QLabel>(QStringLiteral("Pic_glay"))->pixmap().toImage();
    const QImage red = find<QLabel>(QStringLiteral("Pic_red"))->pixmap().toImage();
    const QImage black = find<QLabel>(QStringLiteral("Pic_blk"))->pixmap().toImage();
    EXPECT_TRUE(grey != red && grey != black && red != black);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const auto *lamp = find<QLabel>(QStringLiteral("Pic(%1)").arg(i));
        EXPECT_EQ(lamp->size(), QSize(20, 15));
        EXPECT_EQ(lamp->pixmap().toImage(), grey);
        EXPECT_EQ(find<QLabel>(QStringLiteral("Label_LED(%1)").arg(i))->text(), signalNames.at(i));
    }
    for (const char *name : {"Picture_DSR", "Picture_CTS"})
        EXPECT_EQ(find<ColorBox>(QLatin1String(name))->color(), QColor(0, 0, 0)) << name;
    EXPECT_EQ(find<ColorBox>(QStringLiteral("Picture1"))->color(), buttonFaceColor());
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label_DBG"))->palette().color(QPalette::Window), buttonFaceColor());
}

TEST_F(AppTest, ToolbarHasSevenPositionsWithKeysAndStates)
{
    const struct
    {
        const char *key; // null: a separator
        bool enabled, checkable, checked;
    } positions[] = {
        {"スタート", true, false, false}, {"ストップ", false, false, false}, {}, {}, {"設定", true, true, true}, {},
        {"簡易モニタ", true, true, false},
    };
    const QList<QAction *> actions = find<QToolBar>(QStringLiteral("tbToolBar"))->actions();
    ASSERT_EQ(actions.size(), std::size(positions));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QAction *action = actions.at(i);
        const auto &want = positions[i];
        EXPECT_EQ(action->isSeparator(), want.key == nullptr);
        if (!want.key)
            continue;
        EXPECT_EQ(action->objectName(), QString::fromUtf8(want.key));
        EXPECT_EQ(window().toolbarButton(QString::fromUtf8(want.key)), action);
        EXPECT_EQ(std::tuple(action->isEnabled(), action->isCheckable(), action->isChecked()),
                  std::tuple(want.enabled, want.checkable, want.checked));
    }
    EXPECT_EQ(window().toolbarButton(QStringLiteral("none")), nullptr);
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
    // The hidden debug separator sits right before the debug item.
    const QList<QAction *> monitor = window().menu(QStringLiteral("mnuMonitor"))->actions();
    const qsizetype modify = monitor.indexOf(window().menuItem(QStringLiteral("mnuModify")));
    ASSERT_GT(modify, 0);
    EXPECT_TRUE(monitor.at(modify - 1)->isSeparator());
    EXPECT_EQ(monitor.at(modify - 1)->objectName(), QStringLiteral("mnuMonitorBar2"));
}

} // namespace
