#pragma once

#include "data/datafiles.h"

#include <QByteArray>
#include <QString>

namespace ferrox {

// Reading a log text file for a window.
struct TextFileRead
{
    enum class Status { Ok, Missing, Unreadable, TooBig, NotText };
    Status status = Status::Ok;
    QByteArray bytes;
    QString reason; // why, when Unreadable
};

// Texts beyond this many bytes are not shown (the biggest rendering of a
// full capture is a few MB).
constexpr qint64 maxTextFileBytes = 64 * 1024 * 1024;

// A missing path is Missing; a folder, a named pipe or a device is
// Unreadable without being opened; a file holding NUL bytes is NotText.
TextFileRead readTextFile(const QString &path, qint64 maxBytes = maxTextFileBytes);

// Writes text as a log text file (code page 932, CR LF) through a
// temporary file in the same folder, so a failed write leaves any old
// file as it was; the result's message names the file and the reason.
FileWriteResult writeTextFile(const QString &path, const QString &text);

// The folder a file dialog's choice lies in, for the "OPEN_DIR" setting:
// the path before its last separator ("/" for a file in the root).
QString dialogFolder(const QString &path);

} // namespace ferrox
