#pragma once

#include "capturebuffer.h"

#include "files/fileaccess.h"

#include <QByteArrayView>
#include <QString>

namespace ferrox {

// Fixed names of the data files in the program folder.
inline QString monitorDataFileName() { return QStringLiteral("rs_data.dat"); }
inline QString renderedTextFileName() { return QStringLiteral("rs_text.rsm"); }

struct FileWriteResult
{
    bool ok = false;
    QString message; // the user's message when !ok (names the file and the reason)
};

// Writes `bytes` as the whole content of `path` through a temporary file in
// the same folder that replaces `path` only once complete, so a failure
// never leaves a truncated file. A file that is read-only, a folder or a
// named pipe is not replaced.
FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes);

// Whether writeFileAtomically could write there (checked before a long
// run whose output must not be lost at its end).
FileWriteResult checkFileWritable(const QString &path);

// Stores the stream (positions 0 to CaptureEnd) as a data file, such as
// "rs_data.dat": CaptureEnd + 1 bytes, no header.
FileWriteResult StoreMonitorData(const CaptureBuffer &capture, const QString &path);

struct LoadResult
{
    enum class Status {
        Loaded,     // the whole file is in the buffer
        Cut,        // longer than the buffer: its first CaptureBuffer::Size bytes are
        Unreadable, // missing, unreadable or refused; nothing loaded
        Empty,      // no bytes at all; refused like an empty capture
    };
    Status status = Status::Unreadable;
    CaptureBuffer capture; // CaptureEnd = bytes loaded - 1, the rest zero
    QString message;       // what to tell the user; empty when Loaded

    bool ok() const { return status == Status::Loaded || status == Status::Cut; }
};

// Reads a data file into a fresh buffer. A read error loads nothing rather
// than a part of the file. The window takes regular files only; the
// command line may read a named pipe as a stream.
LoadResult LoadMonitorData(const QString &path, FileKinds kinds = FileKinds::AnyReadable);

} // namespace ferrox
