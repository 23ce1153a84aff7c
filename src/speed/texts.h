#pragma once

// The Japanese texts of the line speed measurement, in one place. Lines
// within a text are joined by CR LF.

#include <QString>

namespace ferrox::speedtext {

inline QString windowCaption() { return QStringLiteral("モニターラインの通信速度測定"); }
inline QString startButton() { return QStringLiteral("測定開始(&S)"); }
inline QString stopButton() { return QStringLiteral("測定中止(&E)"); }
inline QString closeButton() { return QStringLiteral("閉じる(&C)"); }

inline QString blockedByCapture()
{
    return QStringLiteral("モニター中は、モニターライン通信速度の測定ができません。\r\n \r\n");
}
inline QString blockedBySimpleMonitor()
{
    return QStringLiteral("簡易モニター中は、モニターライン通信速度の測定ができません。\r\n \r\n");
}
inline QString instructions()
{
    return QStringLiteral("モニターライン通信速度を測定します。\r\n"
                          " \r\n"
                          "モニターラインの Ｊ１コネクタ→Ｊ２コネクタの方向で\r\n"
                          "データを 50回測定し結果を表示します。 \r\n"
                          "（モニターラインにランダムなデータを流してください。）");
}

// countText: the records received so far, "0", "12.5" or "50".
inline QString progress(const QString &countText)
{
    return QStringLiteral("モニターライン通信速度を測定中........\r\n \r\n\r\n50回の測定を行います。\r\n\r\n測定回数： ")
        + countText + QStringLiteral("/50");
}

inline QString stopped() { return QStringLiteral("測定を中止しました。"); }

// rateText: a rate such as "    9600bps", or notMeasured().
inline QString result(const QString &rateText)
{
    return QStringLiteral("モニターライン通信速度の測定結果\r\n \r\n \r\n") + rateText + QStringLiteral("\r\n \r\n");
}
inline QString notMeasured()
{
    return QStringLiteral("測定できませんでした。\r\nランダムなデータを通信ラインに流してください。");
}

// The link port was closed when the measurement was to start.
inline QString portClosed()
{
    return QStringLiteral("通信ポートが開いていないため、測定できませんでした。\r\n"
                          "「通信確認」ボタンで通信を確認してください。");
}

// The link port went away (an unplugged adapter) during a measurement.
inline QString portLost()
{
    return QStringLiteral("通信ポートが使用できなくなったため、測定を中止しました。\r\n"
                          "「通信確認」ボタンで通信を確認してください。");
}

// The board's firmware offers no measurement (the command-line tool).
inline QString notOffered(const QString &firmwareVersion)
{
    return QStringLiteral("ファームウエア ") + firmwareVersion
        + QStringLiteral(" のボードでは、モニターライン通信速度の測定ができません。");
}

} // namespace ferrox::speedtext
