#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace ferrox {

// Why a file operation failed: the system's error number (errno), or one
// of the program's own codes below; FileErrorNone when it did not.
using FileError = int;
constexpr FileError FileErrorNone = 0;
constexpr FileError FileErrorNotRegular = -1; // a named pipe, device or socket
constexpr FileError FileErrorReadOnlyFile = -2; // an existing file without write permission

// The reason a message gives after its own text: Japanese for the common
// cases (no such file or folder, access denied, a folder, disk full,
// read-only file system, and the program's own codes), the system's words
// for the rest. Every file message of the program takes its reason here.
QString fileErrorReason(FileError error);

enum class FileKinds {
    RegularOnly, // anything else is refused before it is opened, so a pipe never blocks
    AnyReadable, // a pipe or device is read as a stream to its end (as cat does)
};

struct FileBytes
{
    FileError error = FileErrorNone;
    QByteArray bytes; // empty when error is set
};

// Reads at most `limit` bytes from the start of the file. A folder is
// always refused (EISDIR).
FileBytes readFileBytes(const QString &path, qint64 limit, FileKinds kinds);

// Replaces the whole content of `path` through a temporary file in the same
// folder, synced and renamed over it only when complete: a failure at any
// step leaves an old file as it was and no temporary file behind. An
// existing file keeps its permissions; a read-only one, a folder or a
// non-regular file is refused. A symbolic link is written through: its
// target gets the bytes (made when missing), the link stays. Names keep
// every byte (see filenamebytes.h), here and in every function below.
FileError replaceFileContents(const QString &path, QByteArrayView bytes);

// A file written in pieces with replaceFileContents()'s guarantees, for
// output too large to hold whole: the pieces go to a temporary file that
// commit() syncs and renames over the target; a writer destroyed without
// commit() (a failure, an interruption) removes it and leaves any old file
// as it was. A character device or named pipe is written as the pieces
// come, with no temporary file. After the first failure nothing more is
// written and every later call returns it.
class ReplacingWriter
{
public:
    ReplacingWriter() = default;
    ~ReplacingWriter();
    ReplacingWriter(const ReplacingWriter &) = delete;
    ReplacingWriter &operator=(const ReplacingWriter &) = delete;

    FileError open(const QString &path);
    FileError append(QByteArrayView bytes);
    FileError commit();

private:
    void discard();

    int m_fd = -1;
    bool m_stream = false;
    QByteArray m_tempName;
    QByteArray m_targetName;
    FileError m_error = FileErrorNone;
};

// Whether replaceFileContents could start: the same refusals, and a
// temporary file made and removed again to prove the folder.
FileError checkFileReplaceable(const QString &path);

// Writes bytes to a character device or named pipe (/dev/null, a
// terminal, a shell's pipe as /dev/stdout), as they are and without a
// temporary file; anything else is refused (FileErrorNotRegular).
FileError writeStreamContents(const QString &path, QByteArrayView bytes);

// Every byte to an open descriptor, through interrupted and partial writes.
FileError writeAll(int fd, QByteArrayView bytes);
// True when path (links followed) is such a device or pipe.
bool isStream(const QString &path);

// True when something of that name exists, a dangling link included.
bool fileExists(const QString &path);
// Removes a file; one already missing is no failure.
FileError removeFile(const QString &path);
// The names in a folder (not "." and ".."); none when it cannot be read.
QStringList folderEntries(const QString &folder);

} // namespace ferrox
