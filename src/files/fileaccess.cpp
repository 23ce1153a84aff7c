#include "fileaccess.h"

#include "filenamebytes.h"
#include "texts.h"

#include <QRandomGenerator>

#include <algorithm>
#include <optional>
#include <utility>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ferrox {

namespace {

// Bytes asked of the system per read.
constexpr qint64 readChunk = 64 * 1024;

// A file descriptor that is closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int fd() const { return m_fd; }
    // Closes now: a write error the system reports only at close counts.
    FileError close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 ? FileErrorNone : errno;
    }

private:
    int m_fd;
};

FileError readAll(int fd, qint64 limit, QByteArray &bytes)
{
    while (bytes.size() < limit) {
        const qsizetype before = bytes.size();
        // What room was set aside is read at once; then chunk by chunk.
        const qint64 room = std::max<qint64>(bytes.capacity() - before, readChunk);
        const qsizetype wanted = qsizetype(std::min(limit - before, room));
        bytes.resize(before + wanted);
        const ssize_t got = ::read(fd, bytes.data() + before, size_t(wanted));
        bytes.resize(before + std::max<ssize_t>(got, 0));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
    }
    return FileErrorNone;
}

// Symbolic links followed to the file they name, existing or not, as a
// shell's redirection does: a link is written through, never replaced.
QByteArray followLinks(QByteArray name)
{
    constexpr int mostLinks = 40; // the system's own limit on a chain of links
    for (int i = 0; i < mostLinks; ++i) {
        struct stat status;
        if (::lstat(name.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return name;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(name.constData(), target.data(), size_t(target.size()));
        if (length < 0)
            return name;
        target.truncate(length);
        const qsizetype slash = name.lastIndexOf('/');
        name = target.startsWith('/') || slash < 0 ? target : name.left(slash + 1) + target;
    }
    return name;
}

// The file a replacement goes to, as the system names it.
struct Target
{
    QByteArray name;
    std::optional<mode_t> keptMode; // an existing file's permissions
};

FileError examineTarget(const QString &path, Target &target)
{
    if (path.isEmpty())
        return ENOENT;
    target.name = followLinks(encodeFileName(path));
    struct stat status;
    if (::stat(target.name.constData(), &status) != 0)
        return errno == ENOENT ? FileErrorNone : errno;
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    if (!S_ISREG(status.st_mode))
        return FileErrorNotRegular;
    // Renaming over a file ignores its permissions; a read-only file stays.
    if (!(status.st_mode & S_IWUSR))
        return FileErrorReadOnlyFile;
    target.keptMode = status.st_mode & 07777;
    return FileErrorNone;
}

// Examines the target and creates a new file next to it; a new file gets
// the permissions the user's umask gives, a replacement those of the file
// it replaces.
FileError createTemporary(const QString &path, Target &target, QByteArray &tempName, int &fd)
{
    if (const FileError error = examineTarget(path, target))
        return error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = target.name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return errno;
        if (target.keptMode && ::fchmod(fd, *target.keptMode) != 0) {
            const FileError error = errno;
            ::close(fd);
            ::unlink(tempName.constData());
            return error;
        }
        return FileErrorNone;
    }
    return EEXIST;
}

} // namespace

FileError writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return errno;
        done += put;
    }
    return FileErrorNone;
}

QString fileErrorReason(FileError error)
{
    switch (error) {
    case FileErrorNone: return {};
    case FileErrorNotRegular: return filetexts::notRegularFile();
    case FileErrorReadOnlyFile: return filetexts::readOnlyFile();
    case ENOENT:
    case ENOTDIR: return filetexts::noSuchFile();
    case EACCES:
    case EPERM: return filetexts::accessDenied();
    case EISDIR: return filetexts::isFolder();
    case ENOSPC:
    case EDQUOT: return filetexts::diskFull();
    case EROFS: return filetexts::readOnlyFileSystem();
    default: return qt_error_string(error);
    }
}

FileBytes readFileBytes(const QString &path, qint64 limit, FileKinds kinds)
{
    if (path.isEmpty())
        return {ENOENT, {}};
    // Without waiting for a writer, a pipe can be told from a file.
    const int flags = O_RDONLY | O_CLOEXEC | (kinds == FileKinds::RegularOnly ? O_NONBLOCK : 0);
    Descriptor file(::open(encodeFileName(path).constData(), flags));
    if (file.fd() < 0)
        return {errno, {}};
    struct stat status;
    if (::fstat(file.fd(), &status) != 0)
        return {errno, {}};
    if (S_ISDIR(status.st_mode))
        return {EISDIR, {}};
    if (kinds == FileKinds::RegularOnly && !S_ISREG(status.st_mode))
        return {FileErrorNotRegular, {}};
    FileBytes result;
    if (S_ISREG(status.st_mode))
        // One byte more than the file holds, for the read that finds its
        // end: the bytes are then read with no reallocation.
        result.bytes.reserve(qsizetype(std::min<qint64>(status.st_size + 1, limit)));
    result.error = readAll(file.fd(), limit, result.bytes);
    if (result.error != FileErrorNone)
        result.bytes.clear();
    return result;
}

ReplacingWriter::~ReplacingWriter()
{
    discard();
}

void ReplacingWriter::discard()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_tempName.isEmpty())
        ::unlink(std::exchange(m_tempName, {}).constData());
}

FileError ReplacingWriter::open(const QString &path)
{
    discard();
    m_error = FileErrorNone;
    m_stream = isStream(path);
    if (m_stream) {
        m_fd = ::open(encodeFileName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        m_error = m_fd < 0 ? errno : FileErrorNone;
        return m_error;
    }
    Target target;
    m_error = createTemporary(path, target, m_tempName, m_fd);
    if (m_error != FileErrorNone)
        m_tempName.clear();
    m_targetName = target.name;
    return m_error;
}

FileError ReplacingWriter::append(QByteArrayView bytes)
{
    if (m_error == FileErrorNone)
        m_error = m_fd < 0 ? EBADF : writeAll(m_fd, bytes);
    if (m_error != FileErrorNone)
        discard();
    return m_error;
}

FileError ReplacingWriter::commit()
{
    if (m_error == FileErrorNone && m_fd < 0)
        m_error = EBADF;
    // A file system that cannot sync (EINVAL) keeps the data all the same.
    if (m_error == FileErrorNone && !m_stream && ::fsync(m_fd) != 0 && errno != EINVAL)
        m_error = errno;
    if (m_error == FileErrorNone) {
        Descriptor closing(std::exchange(m_fd, -1));
        m_error = closing.close();
    }
    if (m_error == FileErrorNone && !m_stream && ::rename(m_tempName.constData(), m_targetName.constData()) != 0)
        m_error = errno;
    if (m_error == FileErrorNone)
        m_tempName.clear();
    discard();
    return m_error;
}

FileError replaceFileContents(const QString &path, QByteArrayView bytes)
{
    if (isStream(path))
        return FileErrorNotRegular; // as examineTarget() refuses it
    ReplacingWriter writer;
    if (const FileError error = writer.open(path))
        return error;
    if (const FileError error = writer.append(bytes))
        return error;
    return writer.commit();
}

FileError checkFileReplaceable(const QString &path)
{
    Target target;
    QByteArray tempName;
    int fd = -1;
    if (const FileError error = createTemporary(path, target, tempName, fd))
        return error;
    ::close(fd);
    ::unlink(tempName.constData());
    return FileErrorNone;
}

FileError writeStreamContents(const QString &path, QByteArrayView bytes)
{
    Descriptor stream(::open(encodeFileName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (stream.fd() < 0)
        return errno;
    struct stat status;
    if (::fstat(stream.fd(), &status) != 0)
        return errno;
    if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode))
        return FileErrorNotRegular;
    if (const FileError error = writeAll(stream.fd(), bytes))
        return error;
    return stream.close();
}

bool isStream(const QString &path)
{
    struct stat status;
    return ::stat(encodeFileName(path).constData(), &status) == 0
        && (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
}

bool fileExists(const QString &path)
{
    struct stat status;
    return ::lstat(encodeFileName(path).constData(), &status) == 0;
}

FileError removeFile(const QString &path)
{
    if (::unlink(encodeFileName(path).constData()) == 0 || errno == ENOENT)
        return FileErrorNone;
    return errno;
}

QStringList folderEntries(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << decodeFileName(name);
    }
    ::closedir(dir);
    return names;
}

} // namespace ferrox
