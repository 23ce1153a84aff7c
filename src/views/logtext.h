#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace ferrox {

// The log windows' text files: code page 932 with CR LF line ends.
//
// Reading, a line break is LF, CR LF, or CR LF preceded by any number of
// CRs (the renderers end some lines with "CR CR LF"): each shows as one
// break. A CR followed by anything but CR or LF is a break of its own
// (old Mac files). Between the breaks the text is exact: every byte code
// page 932 does not decode (captured binary data in a rendering) is kept
// as its own reserved character, and saving writes it back as it was.
QString decodeLogText(QByteArrayView bytes);

// The same rule for text the program appends: the result holds '\n' only.
QString normalizeLineBreaks(const QString &text);

// Writing, every line break (LF, and the U+2029/U+2028 separators a text
// document may hold) becomes CR LF; characters code page 932 cannot hold
// become "?".
QByteArray encodeLogText(const QString &text);

// Where a piece of text that starts at `from` and takes about `budget`
// characters (at least one) ends: never between the two halves of a
// surrogate pair, so a piece that would end on a first half takes the
// second too. Big texts load into a view piece by piece.
qsizetype textPieceEnd(QStringView text, qsizetype from, qsizetype budget);

// Where a piece of a file's bytes that starts at `from` and takes about
// `budget` bytes (at least one) ends: just after the first line feed from
// there on, or at the end. Such pieces decode one by one to the text the
// whole decodes to: a line feed is no byte of a double-byte character, and
// the CRs of a line break come before its LF. Big files decode in pieces.
qsizetype linePieceEnd(QByteArrayView bytes, qsizetype from, qsizetype budget);

// A file whose first bytes are "{\rtf" is shown formatted.
bool isRichTextFile(const QByteArray &bytes);

// Plain text holds no NUL byte; a file that does (a data file, an image)
// is not shown as text.
bool looksBinary(const QByteArray &bytes);

} // namespace ferrox
