#pragma once

// The board link's own texts: status lines and message boxes. Message
// lines each end in CR LF.

#include "platform/portrefusal.h"

#include <QString>

namespace ferrox::linktext {

// Title of the port message boxes.
inline QString portTitle() { return QStringLiteral("通信ポート"); }

// One ideographic space: the dark phase of a status blink.
inline QString blinkBlank() { return QStringLiteral("　"); }

inline QString firmwareMismatchStatus() { return QStringLiteral("ファームウエアバージョン ミスマッチ"); }

// Port names below are "COMn" or a device path (portNameFromText()).
// "現在の設定：COMn。　ボードの電源、…": a check found no board.
QString noAnswerStatus(const QString &portName);
// BoardReply + "  COMn:通信確認ＯＫ。": a check found a supported board.
QString linkOkStatus(const QString &boardReply, const QString &portName);

// The ten-line message of a firmware the program does not support.
QString firmwareMismatchMessage(const QString &firmwareVersion);
// The fourteen-line message after a failed check at start-up.
QString noBoardMessage(const QString &portName);
// A port that cannot be opened or set up; errorCode is the port's own.
QString portUnusableMessage(const QString &portName, int errorCode);
// The same for a terminal, on one line: the port and the reason in words
// (an unplugged or hung-up device says so), without the message box's
// padding and code.
QString portFailureLine(const QString &portName, int errorCode);
// A chosen port that does not exist.
QString portMissingMessage(const QString &portName);
// Added to a port message: the device and why it refused us (held by
// another program, which one when known; no permission, and the group to
// join when that would help; missing). Empty when there is nothing to say.
QString portRefusalAdvice(const PortRefusal &refusal);
// After a link-speed choice: the board's jumper must follow.
QString jumperMessage();

// Short reasons for the command-line tool.
inline QString noBoardReason() { return QStringLiteral("*** ボードと通信ができませんでした ***"); }
inline QString linkOkReason() { return QStringLiteral("通信確認ＯＫ。"); }

} // namespace ferrox::linktext
