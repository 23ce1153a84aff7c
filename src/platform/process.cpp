#include "process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

namespace ferrox {

QString SingleInstance::runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

SingleInstance::SingleInstance(const QString &lockName)
{
    m_lock = std::make_unique<QLockFile>(QDir(runtimeFolder()).filePath(lockName));
    m_lock->setStaleLockTime(0); // a crashed instance's lock is stale once its process is gone
    tryAgain();
}

namespace {

// The toolkit judges only a lock it can read and made on this host.
bool namesALiveCopyOfThisProgram(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    if (host != QSysInfo::machineHostName())
        return false; // the runtime folder is this host's: the lock is a leftover
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    // A process number reused by a different program (or one we may not
    // look at, which is no copy of ours either).
    const QString running = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return QFileInfo(running).fileName() == QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace

bool SingleInstance::tryAgain()
{
    if (m_acquired)
        return true;
    m_acquired = m_lock->tryLock(0);
    // Removing a stale lock is refused while a running program holds the file.
    if (!m_acquired && m_lock->error() == QLockFile::LockFailedError && !namesALiveCopyOfThisProgram(*m_lock)
        && m_lock->removeStaleLockFile())
        m_acquired = m_lock->tryLock(0);
    return m_acquired;
}

QString SingleInstance::lockPath() const
{
    return m_lock->fileName();
}

SingleInstance::~SingleInstance() = default;

namespace {

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString AppFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("FERROX_HOME");
    if (!fromEnvironment.isEmpty()) {
        QDir().mkpath(fromEnvironment);
        return withSeparator(QDir(fromEnvironment).absolutePath());
    }
    return programFolder(QCoreApplication::applicationDirPath());
}

QString programFolder(const QString &executableFolder)
{
    const bool installed = QFileInfo(QDir(executableFolder).filePath(QStringLiteral(FERROX_INSTALLED_DATA_DIR))).isDir();
    if (!installed && QFileInfo(executableFolder).isWritable())
        return withSeparator(executableFolder);
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return withSeparator(dataFolder);
}

QString TempFolder()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    if (!location.isEmpty())
        return location;
    // Qt names no temporary folder for a TMPDIR that does not exist yet:
    // the start-up creates that one; without TMPDIR it is the system's.
    const QString fromEnvironment = qEnvironmentVariable("TMPDIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
    return QStringLiteral("/tmp");
}

bool EnsureFolder(const QString &path)
{
    QDir dir;
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isDir())
        return true;
    if (path.startsWith(QLatin1Char('A')))
        return false;
    if (dir.mkdir(path))
        return true;
    const QString levels = withSeparator(path);
    bool allCreated = true;
    for (qsizetype end = levels.indexOf(QLatin1Char('/')); end >= 0;
         end = levels.indexOf(QLatin1Char('/'), end + 1)) {
        const QString prefix = levels.left(end + 1);
        if (QFileInfo(prefix).isDir())
            continue;
        if (!dir.mkdir(prefix))
            allCreated = false;
    }
    return allCreated;
}

} // namespace ferrox
