#pragma once

// The Japanese texts of a capture run and of the judgement of its data,
// kept in one place. Log lines are given without their line end.

#include <QString>
#include <QStringList>

namespace ferrox::CaptureTexts {

// The status line as a capture starts and as it is asked to stop.
inline QString startingStatus() { return QStringLiteral("モニター開始..."); }
inline QString stopStatus() { return QStringLiteral("モニター停止"); }

// The log of a capture.
inline QString replySuffix() { return QStringLiteral("bps"); }
inline QString streamStarted() { return QStringLiteral("モニター開始 ... "); }
inline QString streamEnded() { return QStringLiteral("モニター停止。"); }
inline QString notStarted() { return QStringLiteral("モニターが開始されていません。"); }

// The ways a capture fails or is cut short.
inline QString unsupportedSpeed() { return QStringLiteral("設定された通信スピードがサポートされていません。"); }
inline QString communicationFailed() { return QStringLiteral("コミュニケーション失敗。"); }
inline QString bufferOverflow() { return QStringLiteral("バッファがオーバーフローしました。"); }
inline QString forcedStop() { return QStringLiteral("モニター強制停止。"); }
inline QString dataRateExceeded()
{
    return QStringLiteral("データ量がＰＣの処理スピードを超えましたのでモニターリングを停止します。");
}

// A capture rejected for tag-sequence errors: the count line, then the advice.
inline QString sequenceErrors(qint32 SequenceErrorCount)
{
    return QStringLiteral("モニターデータに ") + QString::number(SequenceErrorCount)
        + QStringLiteral("個所のエラーがありました。");
}
inline QStringList sequenceErrorAdvice()
{
    return {
        QStringLiteral("以下の対策を試みてください。"),
        QStringLiteral("1.簡易モニター、受信バイト数 表示をオフ。"),
        QStringLiteral("2.ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ->ｼｽﾃﾑ->通信ﾎﾟｰﾄのﾌﾟﾛﾊﾟﾃｨでポートの詳細設定の内容を変更。"),
        QStringLiteral("3.処理スピードのさらに速いPCを使用。"),
    };
}

// CaptureTimestamp's format: "2003年08月30日14:05:09".
inline QString timestampFormat() { return QStringLiteral("yyyy年MM月dd日HH:mm:ss"); }

} // namespace ferrox::CaptureTexts
