#pragma once

#include <QByteArrayView>
#include <QString>

namespace ferrox::cli {

// Bytes to standard output unchanged; false when they could not all be
// written (a closed pipe, a full disk).
bool writeOut(QByteArrayView bytes);

// Text in UTF-8 to standard output / standard error.
void printOut(const QString &text);
void printError(const QString &text);

} // namespace ferrox::cli
