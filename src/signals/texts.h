#pragma once

// The Japanese texts of the signal lamps, their readout and their help
// boxes, in one place. Help lines are given without their line end.

#include <QString>
#include <QStringList>

namespace ferrox::SignalTexts {

// By signal index (the bit number in the board's state byte): the lamp
// captions, which are also the names in the readout line.
inline QStringList names()
{
    return {QStringLiteral("DCD"), QStringLiteral("RxD"), QStringLiteral("TxD"), QStringLiteral("DTR"),
            QStringLiteral("DSR"), QStringLiteral("RTS"), QStringLiteral("CTS"), QStringLiteral("RIN")};
}
inline QString activeMark() { return QStringLiteral("◎"); }
inline QString inactiveMark() { return QStringLiteral("●"); }

inline QString pasteLabel() { return QStringLiteral("信号データの貼り付け"); }
inline QString readButton() { return QStringLiteral("Push"); }

inline QString samplingStopped()
{
    return QStringLiteral("RS232制御信号読み出しを停止しました。再開は「通信確認」ボタンを押してください。　(通信エラー)");
}

// The help boxes' texts: their lines, each ended by CR LF.
inline QString helpText(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// "モニタ－" is written with a full-width hyphen-minus (U+FF0D).
inline QString indicatorHelp()
{
    return helpText({
        QStringLiteral("*** モニタ\uFF0D信号ライン サンプリング インジケータ ***"),
        QString(),
        QStringLiteral("モニタ\uFF0D信号ラインの サンプリング状況を表します。 "),
        QStringLiteral("点滅していないときは 通信エラーにより、信号ラインのサンプリングを停止しています。"),
        QStringLiteral("再開するときは、「通信確認」ボタンを押してください。 "),
        QStringLiteral(" "),
        QStringLiteral(" "),
    });
}

inline QString linkOptionsHelp()
{
    return helpText({
        QStringLiteral("*** ferrox.exeとボードの通信できないとき ***"),
        QString(),
        QStringLiteral("RTS,DTRは　ferrox.exeの通信プロトコルでは使用しませんが"),
        QStringLiteral("PCの種類によっては、この設定を変更しなければ通信できないものもあるようです。"),
        QStringLiteral(" "),
        QStringLiteral("通信ができないときは、RTS Ebable, DTR Enableオプションを用意しましたので、"),
        QStringLiteral("この２つのオプション設定を色々変えてみてください。"),
        QStringLiteral(" "),
        QStringLiteral("設定変更後は、「通信確認」ボタンを押してください。"),
        QStringLiteral(" "),
    });
}

} // namespace ferrox::SignalTexts
