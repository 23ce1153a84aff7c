#pragma once

// The Japanese texts of the main window and of start-up, in one place.
// The choices' own texts (speeds, directions, display modes) are the
// settings schema's.

#include <QString>
#include <QStringList>

namespace ferrox::apptext {

// Settings panel
inline const QString SettingsWindow = QStringLiteral("設定ウインドウ");
inline const QString ComPortCaption = QStringLiteral("通信ポート");
inline const QString PcSpeedCaption = QStringLiteral("PC通信スピード(bps)");
inline const QString MonitorSpeedCaption = QStringLiteral("モニタースピード(bps)");
inline const QString DirectionCaption = QStringLiteral("モニターの方向");
inline const QString DisplayModeCaption = QStringLiteral("ﾃﾞﾌｫﾙﾄのﾓﾆﾀｰﾛｸﾞ表示");

inline const QString DataWidthFrame = QStringLiteral("モニターデータ幅");
inline const QString DataOnly = QStringLiteral("8bit(ﾃﾞｰﾀのみ)");
inline const QString DataAndParity = QStringLiteral("9bit(ﾃﾞｰﾀ＋ﾊﾟﾘﾃｨ)");
inline const QString DataWidthHint = QStringLiteral("パリティデータのモニターリングは行いません。");

inline const QString LinkOptionsFrame = QStringLiteral("PC通信設定ｵﾌﾟｼｮﾝ");
inline const QString DtrEnable = QStringLiteral("DTR Enable");
inline const QString RtsEnable = QStringLiteral("RTS Enable");
inline const QString PortCheck = QStringLiteral("通信確認");
inline const QString LinkOptionsHelp = QStringLiteral("?");
inline const QString DsrLamp = QStringLiteral("DSR");
inline const QString CtsLamp = QStringLiteral("CTS");

inline const QString SimpleMonitorFrame = QStringLiteral("簡易モニター表示");
inline const QString HexOption = QStringLiteral("16進数");
inline const QString TextOption = QStringLiteral("テキスト");

inline const QString ReceivedBytes = QStringLiteral("モニター中の 受信バイト数");
inline const QString ByteUnit = QStringLiteral("Byte");
inline const QString Zero = QStringLiteral("0");

// The long capture, a setting of our own beside the documented panel.
inline const QString LongCaptureFrame = QStringLiteral("長時間モニター");
inline const QString LongFileBytes = QStringLiteral("1ファイルのバイト数");
inline const QString LongFiles = QStringLiteral("残すファイル数");
inline const QString LongFilesAll = QStringLiteral("すべて残す");
inline const QString LongFilesPrefix = QStringLiteral("残す: ");
inline const QString LongFolder = QStringLiteral("フォルダー");
inline const QString LongFolderDefault = QStringLiteral("フォルダー: プログラムのフォルダー");
inline const QString Reconnect = QStringLiteral("自動再接続");
// The counter while a long capture runs: the run's monitored bytes, then
// those of the file being written.
inline QString longCounter(qint64 run, qint64 file)
{
    return QStringLiteral("%1 / %2").arg(run).arg(file);
}
inline const QString LongCounterTip = QStringLiteral("全体 / 記録中のファイル");
// The status line and the log of a long capture.
inline QString longCaptureInto(const QString &series)
{
    return QStringLiteral("長時間モニター: %1").arg(series);
}
inline QString linkLostWaiting(const QString &time)
{
    return QStringLiteral("%1 リンク断: 再接続を待っています...").arg(time);
}
inline QString linkBack(const QString &time, const QString &file)
{
    return QStringLiteral("%1 再接続しました: %2 に続けます").arg(time, file);
}
inline QString longCaptureEnded(qint64 files, qint64 bytes)
{
    return QStringLiteral("長時間モニター終了: %1 ファイル, %2 Byte").arg(files).arg(bytes);
}
inline QString seriesExists(const QString &file)
{
    return QStringLiteral("%1 が既にあります。長時間モニターはファイルを上書きしません。").arg(file);
}
inline QString folderNotMade(const QString &folder)
{
    return QStringLiteral("フォルダー %1 を作れません。").arg(folder);
}
inline const QString LongCaptureOpenTitle = QStringLiteral("長時間モニターのファイルを開く");


// "モニターログを表示(&D)" without its mnemonic, as the display buttons' frame title.
inline const QString ShowLogFrame = QStringLiteral("モニターログを表示");
inline const QStringList ShowLogTips = {
    QStringLiteral("モニターログを表示：モード1 <HEX>"),
    QStringLiteral("モニターログを表示：モード2 <ASCII>"),
    QStringLiteral("モニターログを表示：モード3 <HEX･CHAR>"),
    QStringLiteral("モニターログを表示：モード4 <EXCHANGE>"),
    QStringLiteral("モニターログを表示：モード5 <?>"),
};
inline const QString OpenLogCountTip = QStringLiteral("開いているモニターログの数");

// Toolbar: keys, captions, tips
inline const QString StartKey = QStringLiteral("スタート");
inline const QString StartCaption = QStringLiteral("ﾓﾆﾀｰ開始");
inline const QString StartTip = QStringLiteral("モニタースタート");
inline const QString StopKey = QStringLiteral("ストップ");
inline const QString StopCaption = QStringLiteral("ﾓﾆﾀｰ停止");
inline const QString StopTip = QStringLiteral("モニターストップ");
inline const QString SettingsKey = QStringLiteral("設定");
inline const QString SimpleMonitorKey = QStringLiteral("簡易モニタ");

// Menu bar
inline const QString FileMenu = QStringLiteral("ファイル(&F)");
inline const QString FileOpenDataFile = QStringLiteral("モニターデータ ファイルを開く(&O)...");
inline const QString FileSaveDataFile = QStringLiteral("モニターデータ ファイルを保存(S&)...");
inline const QString FileExportData = QStringLiteral("モニターデータをエクスポート(&E)...");
inline const QString FileOpenTextFile = QStringLiteral("モニターログ ファイルを開く(H&)...");
inline const QString FileSaveTextFile = QStringLiteral("モニターログ ファイルを保存(&T)...");
inline const QString FilePageSetup = QStringLiteral("ページ設定(&U)...");
inline const QString FilePrint = QStringLiteral("印刷(&P)...");
inline const QString FileExit = QStringLiteral("終了(&X)");

inline const QString MonitorMenu = QStringLiteral("モニター(&M)");
inline const QString MonitorStart = QStringLiteral("モニター開始(&G)");
inline const QString MonitorStop = QStringLiteral("モニター停止(&E)");
inline const QString MonitorTemp = QStringLiteral("簡易モニター(&T)");
inline const QString LongCaptureOpen = QStringLiteral("長時間モニターのファイルを開く(&L)...");
inline const QString RateMeasure = QStringLiteral("モニターラインの通信速度測定(&M)...");
inline const QString Modify = QStringLiteral("DBG:モニターデータ修正(&D)");

inline const QString ShowLogMenu = QStringLiteral("モニターログを表示(&D)");
inline const QString ShowTimeline = QStringLiteral("タイムライン - 到着時刻と応答時間(&L)");
inline const QString ShowFrames = QStringLiteral("フレーム(&F)");

inline const QString ViewMenu = QStringLiteral("表示(&V)");
inline const QString ViewSetting = QStringLiteral("設定(&S)");
inline const QString ViewToolbar = QStringLiteral("ツール バー(&T)");
inline const QString ViewStatusBar = QStringLiteral("ステータス バー(&B)");
// Our own: J1's and J2's bytes in two colours in the log windows.
inline const QString ViewDirectionColors = QStringLiteral("送受信の色分け(&C)");
inline const QString ViewPrintColors = QStringLiteral("色分けして印刷(&P)");

inline const QString WindowMenu = QStringLiteral("ウインドウ(&W)");
inline const QString WindowCascade = QStringLiteral("重ねて表示(&C)");
inline const QString WindowTileHorizontal = QStringLiteral("上下に並べて表示(&H)");
inline const QString WindowTileVertical = QStringLiteral("左右に並べて表示(&V)");
inline const QString WindowArrangeIcons = QStringLiteral("アイコンの整列(&A)");

inline const QString HelpMenu = QStringLiteral("ヘルプ(&H)");
inline const QString HelpContents = QStringLiteral("目次(&C)");
inline const QString HelpSearch = QStringLiteral("トピックの検索(&S)...");
inline const QString HelpAbout = QStringLiteral("バージョン情報(&A)");

// Start-up
inline const QString TempFolderFailureTitle = QStringLiteral("ﾃﾝﾌﾟﾌｫﾙﾀﾞ作成失敗");
inline QString tempFolderFailureText(const QString &folder)
{
    return QStringLiteral("ﾃﾝﾎﾟﾗﾘﾌｫﾙﾀﾞｰの作成に失敗しました。\r") + folder
        + QStringLiteral("　を、\r予め作成し再度ソフトウエアを起動してください。");
}
// Once, when a setting cannot be stored (a read-only settings folder).
inline QString settingsUnwritable(const QString &file)
{
    return QStringLiteral("設定を保存できません。\r\n%1\r\nに書き込めないため、変更した設定は次回の起動に引き継がれません。").arg(file);
}

// On standard error: the lock is held by something that is no running
// window (a folder in its place, a file that cannot be replaced).
// Without a display the window cannot start; the command line needs none.
inline QString noDisplay(const QString &x11Display, const QString &waylandDisplay)
{
    QString tried = waylandDisplay.isEmpty() ? QString() : QStringLiteral("WAYLAND_DISPLAY=%1").arg(waylandDisplay);
    if (!x11Display.isEmpty())
        tried += (tried.isEmpty() ? QString() : QStringLiteral("、")) + QStringLiteral("DISPLAY=%1").arg(x11Display);
    if (tried.isEmpty())
        tried = QStringLiteral("DISPLAY が設定されていません");
    return QStringLiteral("ferrox: ウインドウを表示する画面がありません（%1）。画面なしでは ferrox-cli を使えます（ferrox-cli help）。\n")
        .arg(tried);
}

// A later start's word on the window that took its place (pid 0: a window
// that did not say which it is).
inline QString broughtForward(qint64 pid, const QString &display, const QString &file)
{
    QString window = QStringLiteral("起動中の ferrox のウインドウ");
    if (pid > 0)
        window += QStringLiteral("（PID %1、画面 %2）").arg(pid).arg(display.isEmpty() ? QStringLiteral("不明") : display);
    QString text = QStringLiteral("ferrox: %1を前面に出しました。").arg(window);
    if (!file.isEmpty())
        text += QStringLiteral("%1 はそのウインドウで開きます。").arg(file);
    return text + u'\n';
}

inline QString lockUnusable(const QString &lockPath)
{
    return QStringLiteral("ferrox: 多重起動防止のロック %1 を使用できないため、ロックなしで起動します。\n").arg(lockPath);
}

} // namespace ferrox::apptext
