#include "portrefusal.h"

#include "files/fileaccess.h"
#include "files/filenamebytes.h"

#include <QSerialPort>
#include <QStringList>

#include <cerrno>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace ferrox {

namespace {

// Where programs put their serial lock files, in the order they look.
const char *const lockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                   "/tmp", "/var/tmp", "/var/lock/lockdev", "/run/lock"};

// The process a lock file names, "1234 (name)", while it lives.
QString lockHolder(const QString &lockFile)
{
    const FileBytes lock = readFileBytes(lockFile, 4096, FileKinds::RegularOnly);
    bool ok = false;
    const qint64 pid = lock.bytes.split('\n').constFirst().trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return {};
    const QByteArray name = readFileBytes(QStringLiteral("/proc/%1/comm").arg(pid), 256, FileKinds::AnyReadable).bytes;
    return name.trimmed().isEmpty() ? QString::number(pid)
                                    : QStringLiteral("%1 (%2)").arg(pid).arg(decodeFileName(name.trimmed()));
}

bool userInGroup(gid_t group)
{
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(std::max(count, 0)));
    if (count <= 0 || ::getgroups(count, groups.data()) != count)
        return false;
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

} // namespace

QString deviceGroupToJoin(const QString &devicePath)
{
    struct stat device;
    if (::stat(encodeFileName(devicePath).constData(), &device) != 0)
        return {};
    const bool groupMayOpen = (device.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    if (!groupMayOpen || device.st_gid == 0 || userInGroup(device.st_gid))
        return {};
    const group *entry = ::getgrgid(device.st_gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

QString portLockFile(const QString &devicePath)
{
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(u'/', u'_');
    for (const char *folder : lockFolders) {
        const QString path = QLatin1String(folder) + QStringLiteral("/LCK..") + name;
        if (fileExists(path))
            return path;
    }
    return {};
}

PortRefusal diagnosePortRefusal(const QString &devicePath, int errorCode)
{
    PortRefusal refusal;
    refusal.devicePath = devicePath;
    if (errorCode == QSerialPort::DeviceNotFoundError) {
        refusal.kind = PortRefusal::Kind::Missing;
        return refusal;
    }
    if (errorCode != QSerialPort::PermissionError)
        return refusal;
    const QString lockFile = portLockFile(devicePath);
    refusal.holder = lockFile.isEmpty() ? QString() : lockHolder(lockFile);
    // A device the user may open that still refused is held by someone.
    const bool accessible = ::access(encodeFileName(devicePath).constData(), R_OK | W_OK) == 0;
    if (!refusal.holder.isEmpty() || accessible) {
        refusal.kind = PortRefusal::Kind::InUse;
        return refusal;
    }
    refusal.kind = PortRefusal::Kind::NoPermission;
    refusal.group = deviceGroupToJoin(devicePath);
    return refusal;
}

} // namespace ferrox
