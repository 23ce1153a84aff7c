#pragma once

#include "data/datafiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ferrox::cli {

// File names on Linux are bytes. The command line keeps them so: bytes
// that are not UTF-8 become the code points U+DC80 to U+DCFF inside the
// program's text and go back to the same bytes at the file system.

// The program's arguments, decoded that way.
QStringList decodeArguments(int argc, char **argv);
// The bytes a decoded file name stands for.
QByteArray encodeFileName(const QString &name);

// A path the toolkit opens as the named existing file: the name itself,
// or, for a name that is not UTF-8, an alias of it under /proc/self/fd
// (valid until the program ends). The name itself when it cannot be had.
QString readablePath(const QString &name);

// Writes bytes as the whole file `name`, atomically, whatever bytes the
// name is made of.
FileWriteResult writeNamedFile(const QString &name, QByteArrayView bytes);

// Why `name` could not be written as an output file, or an empty text
// (see outputPathProblem()).
QString namedOutputProblem(const QString &name);

// True when both names are the same file (existing or not).
bool sameFile(const QString &a, const QString &b);

} // namespace ferrox::cli
