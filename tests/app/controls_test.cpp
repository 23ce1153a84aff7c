// Every control of the main window is reachable by its name and starts with
// its caption, hint and state.
#include "appfixture.h"

#include "app/ui/colorbox.h"
#include "platform/ui/appearance.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

#include <optional>

using namespace ferrox;
using namespace ferrox::test;

namespace {

enum class Start { Enabled, Disabled, Hidden };

struct WidgetRow
{
    const char *name;
    const char *className;
    QString caption;                    // button/label text or frame title; null: not checked
    Start start = Start::Enabled;
    std::optional<bool> checked = {};
    QString tip = {};
};

QString captionOf(const QWidget *widget)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    return {};
}

const QString WidthHint = QStringLiteral("パリティデータのモニターリングは行いません。");

TEST_F(AppTest, EveryPanelControlHasItsNameCaptionHintAndStartState)
{
    const QList<WidgetRow> rows = {
        {"Picture_big", "QScrollArea", {}},
        {"Label_SettingsWindow", "QLabel", QStringLiteral("設定ウインドウ")},
        {"Label_Com_port", "QLabel", QStringLiteral("通信ポート")},
        {"Label_PC_speed", "QLabel", QStringLiteral("PC通信スピード(bps)")},
        {"Label_Monitor_speed", "QLabel", QStringLiteral("モニタースピード(bps)")},
        {"Label_Direction", "QLabel", QStringLiteral("モニターの方向")},
        {"Label_DisplayMode", "QLabel", QStringLiteral("ﾃﾞﾌｫﾙﾄのﾓﾆﾀｰﾛｸﾞ表示")},
        {"Frame2", "QGroupBox", QStringLiteral("モニターデータ幅"), Start::Disabled},
        {"Data_only", "QRadioButton", QStringLiteral("8bit(ﾃﾞｰﾀのみ)"), Start::Disabled, true, WidthHint},
        {"DataAndParity", "QRadioButton", QStringLiteral("9bit(ﾃﾞｰﾀ＋ﾊﾟﾘﾃｨ)"), Start::Disabled, false, WidthHint},
        {"Frame_ComSet", "QGroupBox", QStringLiteral("PC通信設定ｵﾌﾟｼｮﾝ")},
        {"Check_DTR", "QCheckBox", QStringLiteral("DTR Enable"), Start::Enabled, false},
        {"Check_RTS", "QCheckBox", QStringLiteral("RTS Enable"), Start::Enabled, false},
        {"Cmd_Port_Check", "QPushButton", QStringLiteral("通信確認")},
        {"Command_Help", "QPushButton", {}},
        {"Picture_DSR", "ferrox::ColorBox", {}},
        {"Picture_CTS", "ferrox::ColorBox", {}},
        {"Frame1", "QGroupBox", QStringLiteral("簡易モニター表示")},
        {"Option_Hex", "QRadioButton", QStringLiteral("16進数"), Start::Enabled, true},
        {"Option_Txt", "QRadioButton", QStringLiteral("テキスト"), Start::Enabled, false},
        {"Frame_RecByte", "QGroupBox", {}},
        {"Check_RecByte", "QCheckBox", QStringLiteral("モニター中の 受信バイト数"), Start::Enabled, true},
        {"Label_RecByte", "QLabel", QStringLiteral("0")},
        {"Label_Byte", "QLabel", QStringLiteral("Byte")},
        {"Picture1", "ferrox::ColorBox", {}},
        {"Frame_Signal", "QGroupBox", {}},
        {"Label_Signal", "QLabel", QStringLiteral("信号データの貼り付け")},
        {"Command_READ", "QPushButton", QStringLiteral("Push")},
        {"Label_DBG", "QLabel", {}},
        {"Label_x", "QLabel", QStringLiteral("0"), Start::Enabled, {}, QStringLiteral("開いているモニターログの数")},
        {"sbStatusBar", "QStatusBar", {}},
        {"mdiArea", "QMdiArea", {}},
        // The lamps' reference images and the progress bar are never shown.
        {"Pic_red", "QLabel", {}, Start::Hidden},
        {"Pic_blk", "QLabel", {}, Start::Hidden},
        {"Pic_glay", "QLabel", {}, Start::Hidden},
        {"ProgressBar1", "QProgressBar", {}, Start::Hidden},
        {"Cmd_DpOpen(0)", "QPushButton", {}, Start::Disabled, {}, QStringLiteral("モニターログを表示：モード1 <HEX>")},
        {"Cmd_DpOpen(1)", "QPushButton", {}, Start::Disabled, {}, QStringLiteral("モニターログを表示：モード2 <ASCII>")},
        {"Cmd_DpOpen(2)", "QPushButton", {}, Start::Disabled, {}, QStringLiteral("モニターログを表示：モード3 <HEX･CHAR>")},
        {"Cmd_DpOpen(3)", "QPushButton", {}, Start::Disabled, {}, QStringLiteral("モニターログを表示：モード4 <EXCHANGE>")},
        {"Cmd_DpOpen(4)", "QPushButton", {}, Start::Disabled, {}, QStringLiteral("モニターログを表示：モード5 <?>")},
    };
    EXPECT_EQ(window().objectName(), QStringLiteral("frmMain"));
    for (const WidgetRow &row : rows) {
        SCOPED_TRACE(row.name);
        const auto *widget = find<QWidget>(QLatin1String(row.name));
        if (!widget)
            continue;
        EXPECT_TRUE(widget->inherits(row.className)) << widget->metaObject()->className();
        if (!row.caption.isNull()) {
            EXPECT_EQ(captionOf(widget), row.caption);
        }
        EXPECT_EQ(widget->isEnabled(), row.start != Start::Disabled);
        if (row.checked) {
            EXPECT_EQ(qobject_cast<const QAbstractButton *>(widget)->isChecked(), *row.checked);
        }
        EXPECT_EQ(widget->toolTip(), row.tip);
        EXPECT_EQ(widget->isHidden(), row.start == Start::Hidden);
    }
}

TEST_F(AppTest, LampsStartGreyUnderTheirSignalNames)
{
    const QStringList names = QStringLiteral("DCD RxD TxD DTR DSR RTS CTS RIN").split(QLatin1Char(' '));
    const QImage grey = find<QLabel>(QStringLiteral("Pic_glay"))->pixmap().toImage();
    const QImage red = find<QLabel>(QStringLiteral("Pic_red"))->pixmap().toImage();
    const QImage black = find<QLabel>(QStringLiteral("Pic_blk"))->pixmap().toImage();
    EXPECT_TRUE(grey != red && grey != black && red != black);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const auto *lamp = find<QLabel>(QStringLiteral("Pic(%1)").arg(i));
        EXPECT_EQ(lamp->size(), QSize(20, 15));
        EXPECT_EQ(lamp->pixmap().toImage(), grey);
        EXPECT_EQ(find<QLabel>(QStringLiteral("Label_LED(%1)").arg(i))->text(), names.at(i));
    }
}

TEST_F(AppTest, LinkLampsStartOffAndIndicatorsPlain)
{
    for (const char *name : {"Picture_DSR", "Picture_CTS"})
        EXPECT_EQ(find<ColorBox>(QLatin1String(name))->color(), QColor(0, 0, 0)) << name;
    EXPECT_EQ(find<ColorBox>(QStringLiteral("Picture1"))->color(), buttonFaceColor());
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label_DBG"))->palette().color(QPalette::Window), buttonFaceColor());
}

TEST_F(AppTest, ToolbarHasSevenPositionsWithKeysCaptionsTipsAndStates)
{
    struct Button
    {
        QString key, caption, tip;
        bool enabled, checkable, checked;
    };
    const QList<std::optional<Button>> positions = {
        Button{QStringLiteral("スタート"), QStringLiteral("ﾓﾆﾀｰ開始"), QStringLiteral("モニタースタート"), true, false, false},
        Button{QStringLiteral("ストップ"), QStringLiteral("ﾓﾆﾀｰ停止"), QStringLiteral("モニターストップ"), false, false, false},
        std::nullopt,
        std::nullopt,
        Button{QStringLiteral("設定"), QStringLiteral("設定"), QStringLiteral("設定"), true, true, true},
        std::nullopt,
        Button{QStringLiteral("簡易モニタ"), QStringLiteral("簡易モニタ"), QStringLiteral("簡易モニタ"), true, true, false},
    };
    const auto *bar = find<QToolBar>(QStringLiteral("tbToolBar"));
    const QList<QAction *> actions = bar->actions();
    ASSERT_EQ(actions.size(), positions.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QAction *action = actions.at(i);
        EXPECT_EQ(action->isSeparator(), !positions.at(i).has_value());
        if (!positions.at(i))
            continue;
        const Button &button = *positions.at(i);
        EXPECT_EQ(action->objectName(), button.key);
        EXPECT_EQ(window().toolbarButton(button.key), action);
        EXPECT_EQ(action->text(), button.caption);
        EXPECT_EQ(action->toolTip(), button.tip);
        EXPECT_EQ(action->isEnabled(), button.enabled);
        EXPECT_EQ(action->isCheckable(), button.checkable);
        EXPECT_EQ(action->isChecked(), button.checked);
    }
    EXPECT_EQ(window().toolbarButton(QStringLiteral("none")), nullptr);
}

struct MenuRow
{
    const char *name;
    QString caption;
    bool enabled = true;
    bool visible = true;
    std::optional<bool> checked = {};
    QKeySequence shortcut = {};
};

TEST_F(AppTest, MenuBarHasEveryMenuInOrderWithItsItems)
{
    const QList<std::pair<const char *, QString>> menus = {
        {"mnuFile", QStringLiteral("ファイル(&F)")},       {"mnuMonitor", QStringLiteral("モニター(&M)")},
        {"mnuDpOpen", QStringLiteral("モニターログを表示(&D)")}, {"mnuView", QStringLiteral("表示(&V)")},
        {"mnuWindow", QStringLiteral("ウインドウ(&W)")},   {"mnuHelp", QStringLiteral("ヘルプ(&H)")},
    };
    const QList<QAction *> top = window().menuBar()->actions();
    ASSERT_EQ(top.size(), menus.size());
    for (qsizetype i = 0; i < top.size(); ++i) {
        ASSERT_NE(top.at(i)->menu(), nullptr);
        EXPECT_EQ(top.at(i)->menu()->objectName(), QLatin1String(menus.at(i).first));
        EXPECT_EQ(top.at(i)->text(), menus.at(i).second);
        EXPECT_EQ(window().menu(QLatin1String(menus.at(i).first)), top.at(i)->menu());
    }
    EXPECT_FALSE(window().menu(QStringLiteral("mnuDpOpen"))->isEnabled());
}

TEST_F(AppTest, MenuItemsHaveTheirCaptionsShortcutsAndStartStates)
{
    const QList<MenuRow> rows = {
        {"mnuFileOpenDataFile", QStringLiteral("モニターデータ ファイルを開く(&O)..."), true, true, {}, QKeySequence(QStringLiteral("Ctrl+O"))},
        {"mnuFileSaveDataFile", QStringLiteral("モニターデータ ファイルを保存(S&)..."), false, true, {}, QKeySequence(QStringLiteral("Ctrl+S"))},
        {"mnuFileExportData", QStringLiteral("モニターデータをエクスポート(&E)..."), false},
        {"mnuFileOpenTextFile", QStringLiteral("モニターログ ファイルを開く(H&)...")},
        {"mnuFileSaveTextFile", QStringLiteral("モニターログ ファイルを保存(&T)..."), false},
        {"mnuFilePageSetup", QStringLiteral("ページ設定(&U)...")},
        {"mnuFilePrint", QStringLiteral("印刷(&P)..."), false},
        {"mnuFileExit", QStringLiteral("終了(&X)")},
        {"mnuMonitorStart", QStringLiteral("モニター開始(&G)")},
        {"mnuMonitorStop", QStringLiteral("モニター停止(&E)")},
        {"mnuMonitorTemp", QStringLiteral("簡易モニター(&T)")},
        {"mnuRateMeasure", QStringLiteral("モニターラインの通信速度測定(&M)..."), false},
        // A hidden item is also disabled (its shortcut must not work) until shown.
        {"mnuMonitorBar2", QString(), false, false},
        {"mnuModify", QStringLiteral("DBG:モニターデータ修正(&D)"), false, false},
        {"mnuMonitorLogOpen1", QStringLiteral("モード1 <HEX>"), false},
        {"mnuMonitorLogOpen2", QStringLiteral("モード2 <ASCII>"), false},
        {"mnuMonitorLogOpen3", QStringLiteral("モード3 <HEX･CHAR>"), false},
        {"mnuMonitorLogOpen4", QStringLiteral("モード4 <EXCHANGE>"), false},
        {"mnuMonitorLogOpen5", QStringLiteral("モード5 <SAVE>"), false},
        {"mnuMonitorLogTimeline", QStringLiteral("タイムライン - 到着時刻と応答時間(&L)"), false},
        {"mnuViewSetting", QStringLiteral("設定(&S)"), true, true, true},
        {"mnuViewToolbar", QStringLiteral("ツール バー(&T)"), true, true, true},
        {"mnuViewStatusBar", QStringLiteral("ステータス バー(&B)"), true, true, true},
        {"mnuWindowCascade", QStringLiteral("重ねて表示(&C)")},
        {"mnuWindowTileHorizontal", QStringLiteral("上下に並べて表示(&H)")},
        {"mnuWindowTileVertical", QStringLiteral("左右に並べて表示(&V)")},
        {"mnuWindowArrangeIcons", QStringLiteral("アイコンの整列(&A)")},
        {"mnuHelpContents", QStringLiteral("目次(&C)")},
        {"mnuHelpSearchForHelpOn", QStringLiteral("トピックの検索(&S)...")},
        {"mnuHelpAbout", QStringLiteral("バージョン情報(&A)")},
    };
    for (const MenuRow &row : rows) {
        SCOPED_TRACE(row.name);
        const QAction *item = window().menuItem(QLatin1String(row.name));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), row.caption);
        EXPECT_EQ(item->isEnabled(), row.enabled);
        EXPECT_EQ(item->isVisible(), row.visible);
        EXPECT_EQ(item->isCheckable(), row.checked.has_value());
        EXPECT_EQ(item->isChecked(), row.checked.value_or(false));
        EXPECT_EQ(item->shortcut(), row.shortcut);
    }
    // The hidden debug separator sits right before the debug item.
    const QList<QAction *> monitor = window().menu(QStringLiteral("mnuMonitor"))->actions();
    const qsizetype modify = monitor.indexOf(window().menuItem(QStringLiteral("mnuModify")));
    ASSERT_GT(modify, 0);
    EXPECT_TRUE(monitor.at(modify - 1)->isSeparator());
    EXPECT_EQ(monitor.at(modify - 1)->objectName(), QStringLiteral("mnuMonitorBar2"));
}

} // namespace
