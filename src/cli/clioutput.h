#pragma once

#include "data/datafiles.h"

#include <QByteArrayView>
#include <QString>

namespace ferrox::cli {

// Bytes to standard output unchanged; false when they could not all be
// written (a closed pipe, a full disk).
bool writeOut(QByteArrayView bytes);

// True when standard output is a terminal.
bool outputIsTerminal();

// Writes bytes as the output named on the command line: "-" is standard
// output, any other name a file written atomically; the message says
// why it failed, naming the output.
FileWriteResult writeOutput(const QString &name, QByteArrayView bytes);

// Text in UTF-8 to standard output / standard error.
void printOut(const QString &text);
void printError(const QString &text);

} // namespace ferrox::cli
