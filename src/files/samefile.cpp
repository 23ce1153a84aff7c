#include "samefile.h"

#include "filenamebytes.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace ferrox {

namespace {

// The absolute name of a file that need not exist: its folder resolved
// (links, "." and ".."), its own name as given.
QByteArray resolvedName(const QString &name)
{
    const QByteArray path = encodeFileName(name);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    char resolved[PATH_MAX];
    if (!::realpath(folder.constData(), resolved))
        return path;
    return QByteArray(resolved) + '/' + path.mid(slash + 1);
}

} // namespace

bool sameFile(const QString &a, const QString &b)
{
    struct stat first, second;
    if (::stat(encodeFileName(a).constData(), &first) == 0 && ::stat(encodeFileName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return resolvedName(a) == resolvedName(b);
}

} // namespace ferrox
