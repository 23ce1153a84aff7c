#pragma once

// The Japanese texts of the timeline and the export, kept in one place.

#include <QString>

namespace ferrox::TimelineTexts {

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

// Why the export does not use a data file's arrival times.
inline QString timesOutsidePcap() { return QStringLiteral("開始時刻がpcapで表せる範囲（1970年～2106年）の外にあります。"); }

} // namespace ferrox::TimelineTexts
