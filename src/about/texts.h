#pragma once

// The Japanese texts of the About window and the help, in one place.

#include "platform/programinfo.h"

#include <QString>

namespace ferrox::abouttext {

// The support page the About window names and opens.
inline QString supportAddress() { return QStringLiteral("https://ferrox.example.org/support/"); }

inline QString windowCaption() { return applicationTitle() + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"); }
inline QString supportButton() { return QStringLiteral("サポートホームページへジャンプ"); }
inline QString closeButton() { return QStringLiteral("閉じる"); }

inline QString description() { return QStringLiteral("RS232ラインのデータをモニターリングします。"); }
inline QString support() { return QStringLiteral("ｻﾎﾟｰﾄﾍﾟｰｼﾞ : ") + supportAddress(); }

// The window's own version label: "ﾊﾞｰｼﾞｮﾝ 2.3.21".
inline QString loadVersion() { return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + versionNumberText(); }
// The title prepared at start-up, shown until the window is first closed.
inline QString startUpTitle() { return QStringLiteral("Ferrox Line Monitor Ver2"); }

inline QString helpMissing()
{
    return QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
}

// "?" beside the link options: why DTR and RTS are offered.
inline QString linkOptionsHelp()
{
    return QStringLiteral("*** ferrox.exeとボードの通信できないとき ***\r\n"
                          "\r\n"
                          "RTS,DTRは　ferrox.exeの通信プロトコルでは使用しませんが\r\n"
                          "PCの種類によっては、この設定を変更しなければ通信できないものもあるようです。\r\n"
                          " \r\n"
                          "通信ができないときは、RTS Ebable, DTR Enableオプションを用意しましたので、\r\n"
                          "この２つのオプション設定を色々変えてみてください。\r\n"
                          " \r\n"
                          "設定変更後は、「通信確認」ボタンを押してください。\r\n"
                          " \r\n");
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
