#pragma once

#include <QString>
#include <QStringList>

namespace ferrox::cli {

// The program's arguments, each byte of a file name kept (see
// files/filenamebytes.h).
QStringList decodeArguments(int argc, char **argv);

// The input that writing `output` would destroy: the data file at
// dataPath or its arrival times, by any spelling; empty when none.
QString inputOverwrittenBy(const QString &output, const QString &dataPath);

} // namespace ferrox::cli
