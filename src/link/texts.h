#pragma once

// The board link's own texts: status lines and message boxes. Message
// lines each end in CR LF.

#include <QString>

namespace ferrox::linktext {

// Directions as the settings panel offers them.
inline QString directionBoth() { return QStringLiteral("双方向"); }
inline QString directionJ1ToJ2() { return QStringLiteral("J1→J2"); }
inline QString directionJ2ToJ1() { return QStringLiteral("J1←J2"); }

// Title of the port message boxes.
inline QString portTitle() { return QStringLiteral("通信ポート"); }

// One ideographic space: the dark phase of a status blink.
inline QString blinkBlank() { return QStringLiteral("　"); }

inline QString firmwareMismatchStatus() { return QStringLiteral("ファームウエアバージョン ミスマッチ"); }

// "現在の設定：COMn。　ボードの電源、…": a check found no board.
QString noAnswerStatus(int portNumber);
// BoardReply + "  COMn:通信確認ＯＫ。": a check found a supported board.
QString linkOkStatus(const QString &boardReply, int portNumber);

// The ten-line message of a firmware the program does not support.
QString firmwareMismatchMessage(const QString &firmwareVersion);
// The fourteen-line message after a failed check at start-up.
QString noBoardMessage(int portNumber);
// A port that cannot be opened or set up; errorCode is the port's own.
QString portUnusableMessage(const QString &portName, int errorCode);
// A chosen port that does not exist.
QString portMissingMessage(int portNumber);
// After a link-speed choice: the board's jumper must follow.
QString jumperMessage();

// Short reasons for the command-line tool.
inline QString noBoardReason() { return QStringLiteral("*** ボードと通信ができませんでした ***"); }
inline QString linkOkReason() { return QStringLiteral("通信確認ＯＫ。"); }

} // namespace ferrox::linktext
