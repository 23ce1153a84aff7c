#pragma once

// Whole files in and out, for tests that set up or check what is on disk,
// and command lines for tests that run programs.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace ferrox::test {

// Command-line words written as one text: "--jumper 115200 --silent".
inline QStringList words(const char *spaced) { return QString::fromUtf8(spaced).split(u' ', Qt::SkipEmptyParts); }

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
