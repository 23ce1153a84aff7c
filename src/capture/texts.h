#pragma once

// The Japanese texts of a capture run, kept in one place. Log lines are
// given without their line end.

#include <QString>

#include <cstdint>

namespace ferrox::CaptureTexts {

// The status line as a capture starts and as it is asked to stop.
inline QString startingStatus() { return QStringLiteral("モニター開始..."); }
inline QString stopStatus() { return QStringLiteral("モニター停止"); }

// The log of a capture.
inline QString replySuffix() { return QStringLiteral("bps"); }
inline QString streamStarted() { return QStringLiteral("モニター開始 ... "); }
inline QString notStarted() { return QStringLiteral("モニターが開始されていません。"); }

// The ways a capture fails to start.
inline QString unsupportedSpeed() { return QStringLiteral("設定された通信スピードがサポートされていません。"); }
inline QString unsupportedDirection() { return QStringLiteral("設定されたモニターの方向がサポートされていません。"); }
inline QString communicationFailed() { return QStringLiteral("コミュニケーション失敗。"); }

// CaptureTimestamp's format: "2003年08月30日14:05:09".
inline QString timestampFormat() { return QStringLiteral("yyyy年MM月dd日HH:mm:ss"); }

// The live views (the simple monitor's window, fed by its own stream or by
// a capture).
inline QString liveControlName(std::uint8_t value)
{
    switch (value) {
    case 2: return QStringLiteral("[STX]");
    case 3: return QStringLiteral("[ETX]");
    case 4: return QStringLiteral("[EOT]");
    case 5: return QStringLiteral("[ENQ]");
    case 6: return QStringLiteral("[ACK]");
    case 9: return QStringLiteral("[TAB]");
    case 10: return QStringLiteral("[LF_]");
    case 13: return QStringLiteral("[CR_]");
    case 21: return QStringLiteral("[NAK]");
    case 27: return QStringLiteral("[ESC]");
    default: return QString();
    }
}
inline QString liveOtherByte() { return QStringLiteral("･"); }

inline QString simpleMonitorCaption() { return QStringLiteral("簡易モニターウインドウ"); }
// Written once per program run, when the window first opens, then a line break.
inline QString simpleMonitorWarning()
{
    return QStringLiteral("簡易モニタはデータ量が多くなると、") + QStringLiteral("応答が悪くなりデータ取りこぼしが発生する場合があります。")
        + QStringLiteral("（２バイト文字コードはサポートしていません。）");
}
inline QString simpleMonitorPortError() { return QStringLiteral("[err]"); }
// At the foot of a live view scrolled up while newer lines arrive.
inline QString liveLinesWaiting(qsizetype lines)
{
    return QStringLiteral("▼ 新しい行 %1").arg(lines);
}

} // namespace ferrox::CaptureTexts
