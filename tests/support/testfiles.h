#pragma once

// Whole files in and out, for tests that set up or check what is on disk.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace ferrox::test {

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace ferrox::test
