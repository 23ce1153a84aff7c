#pragma once

#include <QByteArrayView>
#include <QString>

namespace ferrox {

// The bytes in hexadecimal, upper case, one space between: "01 03 6B".
QString frameHex(QByteArrayView bytes);

// One cell per byte, as the live views show bytes: printable ASCII and
// half-width katakana (0xA1–0xDF) as themselves, the named control codes
// by their names ("[STX]"), every other byte as "･".
QString frameCharacters(QByteArrayView bytes);

// The bytes read as code page 932 text, for summaries: Japanese text reads
// as such; control codes appear by their names ("[CR]") or as "･".
QString frameText(QByteArrayView bytes);

} // namespace ferrox
