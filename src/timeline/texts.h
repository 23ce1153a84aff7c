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

// A split capture read as one (captureseries.h).
inline QString seriesNotFound(const QString &given)
{
    return given + QStringLiteral(" に番号付きのファイル（名前-00001.dat …）のシリーズがありません。");
}
inline QString seriesSeveral(const QString &folder, const QString &names)
{
    return folder + QStringLiteral(" には複数のキャプチャーのシリーズがあります（") + names
        + QStringLiteral("）。読むシリーズのファイルを一つ指定してください。");
}
inline QString seriesMissingFiles(const QString &first, const QString &last)
{
    return QStringLiteral("ファイル欠落　") + (first == last ? first : first + QStringLiteral(" ～ ") + last)
        + QStringLiteral("（リングで消されたか、失われました。この間のデータはありません）");
}
inline QString seriesFileLeftOut(const QString &path, const QString &why)
{
    return QStringLiteral("ファイル除外　") + path + QStringLiteral("：") + why;
}
inline QString seriesLinkLost(const QString &start, const QString &end, const QString &seconds)
{
    return QStringLiteral("リンク断　開始 ") + start + QStringLiteral("　終了 ") + end + QStringLiteral("（")
        + seconds + QStringLiteral(" 秒）");
}
inline QString seriesOtherCapture(const QString &start, const QString &before)
{
    return QStringLiteral("別のキャプチャーのファイルです（開始時刻 ") + start + QStringLiteral(" が前のファイルの ")
        + before + QStringLiteral(" に続きません）。");
}
inline QString seriesNoTimes(const QString &path)
{
    return path + QStringLiteral("：到着時刻（.times）がありません。このファイルは時刻なしで読みます。");
}
inline QString seriesFileNote(const QString &path, const QString &note) { return path + QStringLiteral("：") + note; }
inline QString seriesFile(const QString &path) { return QStringLiteral("ファイル　") + path; }
inline QString seriesHint(const QString &path, qsizetype count)
{
    return path + QStringLiteral(" は ") + QString::number(count)
        + QStringLiteral(" 個のファイルのシリーズの一つです。このファイルだけを読みました（全体は --series で読みます）。");
}

} // namespace ferrox::TimelineTexts
