#include "devicewatch.h"

#include <QDir>
#include <QFileInfo>

namespace ferrox {

DeviceWatch::DeviceWatch(QObject *parent)
    : QObject(parent)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        // The folder watched may have gone, or the one below it come.
        watchNearestFolder();
        emit lookAgain();
    });
    connect(&m_tick, &QTimer::timeout, this, &DeviceWatch::lookAgain);
}

void DeviceWatch::watch(const QString &path, int tickMs)
{
    m_path = path;
    watchNearestFolder();
    m_tick.start(tickMs);
}

void DeviceWatch::stop()
{
    m_tick.stop();
    if (const QStringList folders = m_watcher.directories(); !folders.isEmpty())
        m_watcher.removePaths(folders);
}

bool DeviceWatch::isPresent() const
{
    return m_path.isEmpty() || QFileInfo::exists(m_path);
}

void DeviceWatch::watchNearestFolder()
{
    if (m_path.isEmpty())
        return;
    QString folder = QFileInfo(m_path).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    const QStringList watched = m_watcher.directories();
    if (watched == QStringList{folder})
        return;
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_watcher.addPath(folder);
}

} // namespace ferrox
