#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace ferrox {

// Watches for a device node to come back at its path (a /dev/serial/by-id
// link included) without polling it: the folder where it appears is
// watched, or the nearest folder above that still exists (udev removes
// /dev/serial/by-id with the last device in it). A slow tick backs the
// watch up (a file system that tells nothing, a device that was there all
// along but did not answer).
class DeviceWatch : public QObject
{
    Q_OBJECT
public:
    explicit DeviceWatch(QObject *parent = nullptr);

    // Starts watching `path` (empty: a device whose node is not known,
    // seen as always there), ticking every tickMs.
    void watch(const QString &path, int tickMs);
    void stop();
    // The node (the link's target, for a link) exists; true for an empty path.
    bool isPresent() const;

signals:
    // Something changed where the device appears, or the tick came: look again.
    void lookAgain();

private:
    void watchNearestFolder();

    QFileSystemWatcher m_watcher;
    QTimer m_tick;
    QString m_path;
};

} // namespace ferrox
