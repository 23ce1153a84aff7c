#pragma once

// The Japanese texts of capture data, its files and its renderings, kept in
// one place. Texts that go into a rendering are encoded to code page 932 by
// the renderers; messages are shown as they are.

#include <QString>
#include <QStringList>

namespace ferrox::DataTexts {

// Report header labels.
inline QString headerDataName() { return QStringLiteral("モニターデータ　　： "); }
inline QString headerByteCount() { return QStringLiteral("モニターバイト数　： "); }
inline QString headerByteUnit() { return QStringLiteral("byte"); }
inline QString headerSettings() { return QStringLiteral("現在の設定 "); }
inline QString headerPort() { return QStringLiteral("通信ポート　　　　： "); }
inline QString headerPcSpeed() { return QStringLiteral("ＰＣ通信スピード　： "); }
inline QString headerMonitorSpeed() { return QStringLiteral("モニタスピード　　： "); }
inline QString headerDirection() { return QStringLiteral("モニタ方向　　　　： "); }
inline QString headerWidth8() { return QStringLiteral("モニタデータ長　　： ８bit"); }
inline QString headerWidth9() { return QStringLiteral("モニタデータ長　　： ９bit（パリティビットのデータ修得は行いません。）"); }

// Hexadecimal and ASCII views: line labels.
inline QString lineLabelJ1() { return QStringLiteral(" J1⇒J2 : "); }
inline QString lineLabelJ2() { return QStringLiteral(" J1←J2 : "); }

// Hexadecimal-with-characters view: block headers and continuation mark,
// 13 columns each.
inline QString blockOpenJ1() { return QStringLiteral("J1⇒["); }
inline QString blockOpenJ2() { return QStringLiteral("J2→["); }
inline QString blockClose() { return QStringLiteral("] |"); }
inline QString continuationMark() { return QStringLiteral("　           |"); }

// Exchange view: centre labels, 16 columns each.
inline QString centreOpenJ1() { return QStringLiteral("|J1→"); }
inline QString centreCloseJ1() { return QStringLiteral("    |"); }
inline QString centreOpenJ2() { return QStringLiteral("|    "); }
inline QString centreCloseJ2() { return QStringLiteral("←J2|"); }
inline QString centreContinuation() { return QStringLiteral("|              |"); }

// Listing view: column heads and direction column.
inline QString columnRow() { return QStringLiteral("行番号"); }
inline QString columnDirection() { return QStringLiteral("データ方向"); }
inline QString columnDecimal() { return QStringLiteral("DEC"); }
inline QString columnHex() { return QStringLiteral("HEX"); }
inline QString rowJ1() { return QStringLiteral("J1  ->J2"); }
inline QString rowJ2() { return QStringLiteral("J1<-  J2"); }

// Current data name.
inline QString captureTitlePrefix() { return QStringLiteral("現在のモニターデータ : "); }

// Messages.
inline QString renderError() { return QStringLiteral("モニターデータにエラーがありました。"); }
inline QString noMonitorData() { return QStringLiteral("モニターデータがありませんでした。"); }
inline QString nothingReceived() { return QStringLiteral("受信データがありませんでした。"); }

// How a capture's stream ended, and why its data is rejected.
inline QString streamEnded() { return QStringLiteral("モニター停止。"); }
inline QString bufferOverflow() { return QStringLiteral("バッファがオーバーフローしました。"); }
inline QString forcedStop() { return QStringLiteral("モニター強制停止。"); }
// The program ended the stream between the two halves of a monitored byte.
inline QString lastByteCut() { return QStringLiteral("最後の１バイトは受信が途中で途切れたため破棄しました。"); }
// Between two notes on one status line.
inline QString noteSeparator() { return QStringLiteral("　"); }
inline QString dataRateExceeded()
{
    return QStringLiteral("データ量がＰＣの処理スピードを超えましたのでモニターリングを停止します。");
}
// A capture rejected for tag-sequence errors: the count line, then the advice.
inline QStringList sequenceErrorAdvice(qint32 SequenceErrorCount)
{
    return {
        QStringLiteral("モニターデータに ") + QString::number(SequenceErrorCount) + QStringLiteral("個所のエラーがありました。"),
        QStringLiteral("以下の対策を試みてください。"),
        QStringLiteral("1.簡易モニター、受信バイト数 表示をオフ。"),
        QStringLiteral("2.ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ->ｼｽﾃﾑ->通信ﾎﾟｰﾄのﾌﾟﾛﾊﾟﾃｨでポートの詳細設定の内容を変更。"),
        QStringLiteral("3.処理スピードのさらに速いPCを使用。"),
    };
}
inline QString dataFileMissing(const QString &path)
{
    return QStringLiteral("モニタデータファイル(") + path + QStringLiteral(")が存在しませんでした。");
}
inline QString dataFileUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("モニタデータファイル(") + path + QStringLiteral(")を読み込めませんでした。") + reason;
}
inline QString dataFileEmpty(const QString &path)
{
    return QStringLiteral("モニタデータファイル(") + path + QStringLiteral(")にデータがありませんでした。");
}
inline QString dataFileCut(qint32 keptBytes)
{
    return QStringLiteral("モニタデータファイルが長すぎるため、先頭の") + QString::number(keptBytes)
        + QStringLiteral("バイトだけを読み込みました。");
}
inline QString fileUnwritable(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル(") + path + QStringLiteral(")に書き込めませんでした。") + reason;
}

// Arrival times: why a sidecar of arrival times is not used.
inline QString sidecarIgnored(const QString &path, const QString &reason)
{
    return QStringLiteral("到着時刻ファイル(") + path + QStringLiteral(")を無視しました。") + reason;
}
inline QString sidecarBadLine(qint64 line)
{
    return QString::number(line) + QStringLiteral("行目の形式が正しくありません。");
}
inline QString sidecarOutOfOrder(qint64 line)
{
    return QString::number(line) + QStringLiteral("行目の順序が正しくありません。");
}
inline QString sidecarCut() { return QStringLiteral("ファイルが途中で切れています。"); }
inline QString sidecarOtherData() { return QStringLiteral("モニターデータと合いません。"); }
inline QString sidecarNotAFile() { return QStringLiteral("通常のファイルではありません。"); }
inline QString sidecarTooLarge() { return QStringLiteral("ファイルが大きすぎます。"); }
inline QString sidecarUnreadable(const QString &reason) { return QStringLiteral("読み込めませんでした。") + reason; }
inline QString noArrivalTimes() { return QStringLiteral("到着時刻がないため、時刻と応答時間は表示されません。"); }

} // namespace ferrox::DataTexts
