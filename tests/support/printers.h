#pragma once

// Readable failures: Qt's strings and byte arrays as GoogleTest prints them.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &list, std::ostream *out) { PrintTo(list.join(u'|'), out); }
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << bytes.size() << " bytes: " << bytes.left(32).toHex(' ').toStdString() << (bytes.size() > 32 ? " ..." : "");
}
