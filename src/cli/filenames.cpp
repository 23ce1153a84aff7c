#include "filenames.h"

#include "capture/captureoutput.h"
#include "data/texts.h"
#include "files/fileaccess.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ferrox::cli {

namespace {

constexpr char16_t EscapeBase = 0xDC00; // + a byte of 0x80..0xFF

// Length of the well-formed UTF-8 sequence at bytes[i], 0 when there is none.
qsizetype utf8SequenceLength(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&bytes](qsizetype k) { return std::uint8_t(bytes.at(k)); };
    const std::uint8_t lead = at(i);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    }
    return length;
}

QString decodeFileName(const QByteArray &bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            text += QChar(char16_t(EscapeBase + std::uint8_t(bytes.at(i))));
            ++i;
            continue;
        }
        text += QString::fromUtf8(bytes.mid(i, length));
        i += length;
    }
    return text;
}

bool isEscape(const QString &name, qsizetype i)
{
    const char16_t c = name.at(i).unicode();
    const bool afterHigh = i > 0 && name.at(i - 1).isHighSurrogate();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF && !afterHigh;
}

bool hasEscapes(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscape(name, i))
            return true;
    }
    return false;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder of a name that is not UTF-8, held open so the toolkit can
// reach it as /proc/self/fd/N; the file's last name stays bytes.
class NamedFolder
{
public:
    explicit NamedFolder(const QString &name)
    {
        const QByteArray path = encodeFileName(name);
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        m_base = path.mid(slash + 1);
        m_fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    ~NamedFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const QByteArray &base() const { return m_base; }
    // A UTF-8 name in the folder for the toolkit to write.
    QString alias(const char *piece) const
    {
        return QStringLiteral("/proc/self/fd/%1/.ferrox-%2-%3").arg(m_fd).arg(::getpid()).arg(QLatin1String(piece));
    }
    QString targetProblem(const QString &name) const
    {
        struct stat target;
        if (::fstatat(m_fd, m_base.constData(), &target, 0) != 0)
            return {};
        if (S_ISDIR(target.st_mode))
            return DataTexts::fileUnwritable(name, fileErrorReason(EISDIR));
        if (!(target.st_mode & S_IWUSR))
            return DataTexts::fileUnwritable(name, fileErrorReason(FileErrorReadOnlyFile));
        return {};
    }

private:
    int m_fd = -1;
    QByteArray m_base;
};

} // namespace

QStringList decodeArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i]));
    return arguments;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isEscape(name, i))
            bytes += char(name.at(i).unicode() - EscapeBase);
        else if (name.at(i).isHighSurrogate() && i + 1 < name.size())
            bytes += name.mid(i++, 2).toUtf8();
        else
            bytes += QString(name.at(i)).toUtf8();
    }
    return bytes;
}

QString readablePath(const QString &name)
{
    if (!hasEscapes(name))
        return name;
    const int fd = ::open(encodeFileName(name).constData(), O_RDONLY | O_CLOEXEC);
    // Held open until the program ends: the alias lives as long.
    return fd < 0 ? name : QStringLiteral("/proc/self/fd/%1").arg(fd);
}

FileWriteResult writeNamedFile(const QString &name, QByteArrayView bytes)
{
    if (!hasEscapes(name))
        return writeFileAtomically(name, bytes);
    const NamedFolder folder(name);
    if (!folder.isOpen())
        return {false, DataTexts::fileUnwritable(name, errnoText())};
    if (const QString problem = folder.targetProblem(name); !problem.isEmpty())
        return {false, problem};
    // A complete file under a UTF-8 name, then renamed over the target.
    const QString alias = folder.alias("new");
    FileWriteResult written = writeFileAtomically(alias, bytes);
    if (!written.ok) {
        written.message.replace(alias, name);
        return written;
    }
    const QByteArray temporary = encodeFileName(alias.section(u'/', -1));
    if (::renameat(folder.fd(), temporary.constData(), folder.fd(), folder.base().constData()) != 0) {
        const QString reason = errnoText();
        ::unlinkat(folder.fd(), temporary.constData(), 0);
        return {false, DataTexts::fileUnwritable(name, reason)};
    }
    return {true, {}};
}

QString namedOutputProblem(const QString &name)
{
    if (!hasEscapes(name))
        return outputPathProblem(name);
    const NamedFolder folder(name);
    if (!folder.isOpen())
        return DataTexts::fileUnwritable(name, errnoText());
    if (const QString problem = folder.targetProblem(name); !problem.isEmpty())
        return problem;
    const QString alias = folder.alias("probe");
    return outputPathProblem(alias).replace(alias, name);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first, second;
    if (::stat(encodeFileName(a).constData(), &first) == 0 && ::stat(encodeFileName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    const auto absolute = [](const QString &name) {
        return QDir::cleanPath(name.startsWith(u'/') ? name : QDir::currentPath() + u'/' + name);
    };
    return absolute(a) == absolute(b);
}

} // namespace ferrox::cli
