#pragma once

// The Japanese texts of the About window and the help, in one place.

#include "version/programinfo.h"

#include <QString>

namespace ferrox::abouttext {

inline QString windowCaption() { return applicationTitle() + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"); }
inline QString supportButton() { return QStringLiteral("サポートホームページへジャンプ"); }
inline QString closeButton() { return QStringLiteral("閉じる"); }

inline QString description() { return QStringLiteral("RS232ラインのデータをモニターリングします。"); }
// The support page the About window names (a page of the help) and opens.
inline QString support(const QString &page) { return QStringLiteral("ｻﾎﾟｰﾄﾍﾟｰｼﾞ : ") + page; }

// The window's own version label: "ﾊﾞｰｼﾞｮﾝ " and the version number.
inline QString loadVersion() { return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + versionNumberText(); }
// The title prepared at start-up, shown until the window is first closed.
inline QString startUpTitle() { return QStringLiteral("Ferrox Line Monitor Ver2"); }

inline QString helpMissing()
{
    return QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
}

// The help viewer.
inline QString helpCaption() { return applicationTitle() + QStringLiteral(" ヘルプ"); }
inline QString contentsTab() { return QStringLiteral("目次"); }
inline QString searchTab() { return QStringLiteral("検索"); }
inline QString keywordPrompt() { return QStringLiteral("キーワードを入力してください:"); }
// A search hit found in a topic's text rather than its keywords.
inline QString textHit(const QString &topicTitle) { return QStringLiteral("本文： ") + topicTitle; }
inline QString keywordHit(const QString &keyword, const QString &topicTitle)
{
    return keyword + QStringLiteral(" － ") + topicTitle;
}

} // namespace ferrox::abouttext
