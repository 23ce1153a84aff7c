#pragma once

#include <QByteArray>
#include <QString>

namespace ferrox {

// Text as one field of a CSV row (UTF-8): quoted, with its quotes doubled,
// when it holds a comma or a quote.
QByteArray csvField(const QString &text);

// Text as a JSON string (UTF-8), quoted, with quotes, backslashes and
// control characters escaped.
QByteArray jsonString(const QString &text);

} // namespace ferrox
