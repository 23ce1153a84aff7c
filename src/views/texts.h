#pragma once

// The monitor-log windows' own texts, in one place.

#include <QString>

namespace ferrox::viewtexts {

// Windows and captions.
inline QString logWindowCaption() { return QStringLiteral("モニターログ"); }
inline QString displayCaptionPiece() { return QStringLiteral(" ： 表示"); }
inline QString captionSeparator() { return QStringLiteral(" ： "); }
inline QString displayWord() { return QStringLiteral("表示"); }
inline QString captionDash() { return QStringLiteral(" - "); }
inline QString simpleMonitorCaption() { return QStringLiteral("簡易モニターウインドウ"); }
inline QString captureCancelled() { return QStringLiteral("モニターがキャンセルされました。"); }

// Text files.
inline QString textFileFilter() { return QStringLiteral("ログファイル(*.txt)|*.txt|すべてのファイル|*.*|"); }
inline QString textFilePattern() { return QStringLiteral("*.txt"); }
inline QString textFileExtension() { return QStringLiteral("txt"); }
inline QString openTextTitle() { return QStringLiteral("モニタ テキストファイルを開く"); }
inline QString saveTextTitle() { return QStringLiteral("モニターログデータを保存"); }
inline QString fileMissing() { return QStringLiteral("ファイルが存在しませんでした。"); }
inline QString fileOpenTitle() { return QStringLiteral("ファイルオープン"); }
inline QString simpleMonitorNotSaved() { return QStringLiteral("簡易モニターウインドウは、保存できません。"); }
inline QString noFileName() { return QStringLiteral("ファイル名が指定されていません。"); }
inline QString overwriteText() { return QStringLiteral("ファイルが存在します。上書きしますか？"); }
inline QString overwriteTitle() { return QStringLiteral("上書き確認"); }
// Our own: a file that is no text, or too big to show.
inline QString notATextFile(const QString &path)
{
    return QStringLiteral("ファイル(") + path + QStringLiteral(")はテキストファイルではありません。");
}
inline QString fileTooBig(const QString &path)
{
    return QStringLiteral("ファイル(") + path + QStringLiteral(")が大きすぎるため、表示できません。");
}
inline QString fileUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル(") + path + QStringLiteral(")を読み込めませんでした。\n") + reason;
}
// Our own: a write that failed (read-only file or folder, full disk).
inline QString fileNotWritten(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル(") + path + QStringLiteral(")を保存できませんでした。\n") + reason;
}

// Printing.
inline QString printTitle() { return QStringLiteral("印刷"); }
inline QString pageSetupTitle() { return QStringLiteral("ﾍﾟｰｼﾞ設定"); }

} // namespace ferrox::viewtexts
