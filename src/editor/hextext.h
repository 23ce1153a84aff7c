#pragma once

#include "data/capturebuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// The editor's hexadecimal text of a capture stream, both ways.

// The files the editor works through, in the program folder.
inline QString editorViewFileName() { return QStringLiteral("rs_temp.rsm"); }
inline QString editedTextFileName() { return QStringLiteral("rs_mod.rsm"); }

// The view's text: from position 0, each value as two upper-case hex
// digits and a space, CR CR LF after every 16th value, no line end after
// a shorter last row. It stops before a value 0x00 (no stream byte there),
// after the end code 0xFF, or after position 262143.
QByteArray ModifyViewText(const CaptureBuffer &capture);

// Every tab replaced by eight spaces (not aligned to tab stops).
QString ExpandTabs(const QString &text);

// A line's tokens: only spaces separate them, runs of spaces count as
// one, and the first "=" is a token of its own. A line holds at most
// TokenSlots tokens; nothing for a line with more.
inline constexpr int TokenSlots = 1025;
std::optional<QStringList> SplitTokens(const QString &line);

// A number text: "0x…" hexadecimal, "0b…" binary (no digits give 0),
// otherwise decimal rounded to a whole number (half to even). The case of
// ASCII letters does not matter; no other character is a digit. -1 for text that is no number or lies beyond the 32-bit
// signed range.
qint32 ParseNumberText(const QString &text);

// The check before a store: the text names the end code "FF" somewhere
// (either case of its ASCII letters).
bool mentionsEndCode(const QString &text);

// Reads an edited text back into a stream: pieces end at line ends and
// commas, each piece's tokens are hexadecimal values 0..255 stored from
// position 0 on, and CaptureEnd becomes the position of the last value.
// Positions after it keep what current held. Nothing (and current is
// untouched) for any token that is not such a value, a line of more than
// StoredTokensPerLine tokens, more values than the buffer holds, or no
// value at all.
inline constexpr int StoredTokensPerLine = 1024;
std::optional<CaptureBuffer> readEditedText(const QString &text, const CaptureBuffer &current);

} // namespace ferrox
