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
// Our own: a save never replaces the data being shown.
inline QString shownDataKept(const QString &path)
{
    return QStringLiteral("表示中のモニターデータのファイルには保存できません。別の名前を指定してください。\n") + path;
}
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

// Displays of the current data.
inline QString displayFinished() { return QStringLiteral("表示終了"); }
inline QString processingBytes(qint32 count)
{
    return QString::number(count) + QStringLiteral("バイトを処理中...　しばらくお待ちください...　\r\n");
}
inline QString receiveErrors(qint32 count)
{
    return QStringLiteral("\r\n") + QString::number(count) + QStringLiteral(" byte の受信エラーがありました。\r\n\r\n");
}
inline QString pastingText() { return QStringLiteral("表示データ貼り付け中...　しばらくお待ちください...　"); }
inline QString examiningData() { return QStringLiteral("モニターデータを調査中...　しばらくお待ちください...　\r\n"); }
inline QString loadingData() { return QStringLiteral("モニターデータをロード中...　しばらくお待ちください...　\r\n"); }

// Post-capture processing.
inline QString processingFinished() { return QStringLiteral("データ処理終了。"); }
inline QString noCurrentData() { return QStringLiteral("現在のモニターデータ : なし"); }

// Data files.
inline QString dataFileFilter() { return QStringLiteral("モニタデータファイル(*.dat)|*.dat|すべてのファイル|*.*|"); }
inline QString dataFilePattern() { return QStringLiteral("*.dat"); }
inline QString dataFileExtension() { return QStringLiteral("dat"); }
inline QString openDataTitle() { return QStringLiteral("モニタデータファイルを開く"); }
inline QString saveDataTitle() { return QStringLiteral("モニタ データを保存"); }
inline QString shownInDefaultMode() { return QStringLiteral("デフォルトの表示モードでモニターログを表示しました。"); }
inline QString dataOverwriteText() { return QStringLiteral("モニタ データファイルが存在します。上書きしますか？"); }
inline QString dataSaveCancelled() { return QStringLiteral("ファイルセーブ　キャンセル。"); }

// The timeline view and the export of the current data.
inline QString timelineCaptionPiece() { return QStringLiteral("タイムライン"); }
inline QString exportTitle() { return QStringLiteral("モニターデータをエクスポート"); }
inline QString exportFilter()
{
    return QStringLiteral("pcap ファイル(*.pcap)|*.pcap|CSV ファイル(*.csv)|*.csv|JSON Lines ファイル(*.jsonl)|*.jsonl|");
}
inline QString exportExtension() { return QStringLiteral("pcap"); }
inline QString exportOverwriteText() { return QStringLiteral("ファイルが存在します。上書きしますか？"); }
inline QString exportUnknownFormat() { return QStringLiteral("拡張子は .pcap、.csv、.jsonl のいずれかにしてください。"); }
inline QString exportFinished(const QString &file) { return QStringLiteral("%1 にエクスポートしました。").arg(file); }

// Printing.
inline QString printTitle() { return QStringLiteral("印刷"); }
inline QString pageSetupTitle() { return QStringLiteral("ﾍﾟｰｼﾞ設定"); }

} // namespace ferrox::viewtexts

namespace ferrox::viewtexts {

// Finding in a log window (our own).
inline QString findLabel() { return QStringLiteral("検索:"); }
inline QString findByText() { return QStringLiteral("テキスト"); }
inline QString findByBytes() { return QStringLiteral("バイト列(16進)"); }
inline QString findCaseSensitive() { return QStringLiteral("大文字と小文字を区別"); }
inline QString findNext() { return QStringLiteral("次を検索"); }
inline QString findPrevious() { return QStringLiteral("前を検索"); }
inline QString findClose() { return QStringLiteral("検索バーを閉じる (Esc)"); }
inline QString findBytesHint() { return QStringLiteral("例: 02 41 42"); }
inline QString findEmpty() { return QStringLiteral("検索する文字列を入力してください。"); }
inline QString findNotHex() { return QStringLiteral("バイト列は16進数2桁ずつで入力してください（例: 02 41 42）。"); }
inline QString findNotFound() { return QStringLiteral("見つかりませんでした。"); }
inline QString findMatch(qsizetype index, qsizetype count)
{
    return QString::number(count) + QStringLiteral(" 件中 ") + QString::number(index) + QStringLiteral(" 件目");
}
inline QString findWrapped() { return QStringLiteral("（折り返しました）"); }

// The selected bytes of a rendering (our own).
inline QString selectedBytes(qint32 first, qint32 last, const QString &direction)
{
    const auto hex = [](qint32 n) { return QString::number(n, 16).toUpper().rightJustified(5, QLatin1Char('0')); };
    return QStringLiteral("選択: オフセット %1～%2（0x%3～0x%4）　%5 バイト　%6")
        .arg(first)
        .arg(last)
        .arg(hex(first), hex(last))
        .arg(last - first + 1)
        .arg(direction);
}
inline QString directionJ1() { return QStringLiteral("J1⇒J2"); }
inline QString directionJ2() { return QStringLiteral("J1←J2"); }
inline QString directionBoth() { return QStringLiteral("J1⇒J2 と J1←J2"); }

} // namespace ferrox::viewtexts
