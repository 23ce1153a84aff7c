#pragma once

// The Japanese texts of arrival times, the timeline and the export, kept
// in one place.

#include <QString>

namespace ferrox::TimelineTexts {

// Why a sidecar of arrival times is not used.
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
inline QString sidecarTooLarge() { return QStringLiteral("ファイルが大きすぎます。"); }
inline QString sidecarUnreadable(const QString &reason) { return QStringLiteral("読み込めませんでした。") + reason; }
inline QString noArrivalTimes() { return QStringLiteral("到着時刻がないため、時刻と応答時間は表示されません。"); }

// The timeline.
inline QString timelineStart() { return QStringLiteral("モニター開始時刻　： "); }
inline QString timelineNoStart() { return QStringLiteral("モニター開始時刻　： 不明"); }
// Column heads over the rows of timelineText(), right-aligned as the
// numbers are (a full-width character takes two columns).
inline QString timelineHeads() { return QStringLiteral("  到着時刻(秒)  方向       バイト数  応答時間(ms)"); }
inline QString directionJ1() { return QStringLiteral("J1→J2"); }
inline QString directionJ2() { return QStringLiteral("J1←J2"); }
inline QString unknownValue() { return QStringLiteral("-"); }
inline QString responseSummary() { return QStringLiteral("応答時間(ms)"); }
inline QString responseHeads() { return QStringLiteral("方向         件数        最小      中央値        最大"); }
inline QString timelineCutAtError(qint64 streamOffset)
{
    return QStringLiteral("ストリームの") + QString::number(streamOffset)
        + QStringLiteral("バイト目にタグ順序エラーがあるため、その手前までを扱いました。");
}

// The timeline's log window.
inline QString timelineWindowCaption() { return QStringLiteral("タイムライン"); }

} // namespace ferrox::TimelineTexts
