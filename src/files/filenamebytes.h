#pragma once

#include <QByteArray>
#include <QString>

namespace ferrox {

// File names on Linux are bytes, and every file function of the program
// keeps them so: bytes that are not UTF-8 stand for themselves as the code
// points U+DC80 to U+DCFF inside the program's text, and go back to the
// same bytes at the file system. A UTF-8 name is its plain text both ways.

QString decodeFileName(const QByteArray &bytes);
QByteArray encodeFileName(const QString &name);

} // namespace ferrox
