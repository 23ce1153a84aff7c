#include "lowlatency.h"

#include <QFile>
#include <QFileInfo>

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace ferrox {

namespace {

std::optional<int> readTimer(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int value = file.readAll().trimmed().toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool writeTimer(const QString &path, int ms)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(ms)) > 0;
}

} // namespace

QString LowLatency::latencyTimerPath(const QString &devicePath) const
{
    // /dev/serial/by-id/… links to /dev/ttyUSB0; sysfs knows the latter.
    const QFileInfo device(devicePath);
    const QString name = QFileInfo(device.isSymLink() ? device.canonicalFilePath() : devicePath).fileName();
    return m_sysfsRoot + QStringLiteral("/bus/usb-serial/devices/") + name + QStringLiteral("/latency_timer");
}

void LowLatency::apply(int fd, const QString &devicePath)
{
    serial_struct serial {};
    if (fd >= 0 && ::ioctl(fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
        serial.flags |= ASYNC_LOW_LATENCY;
        m_flagSet = ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
    }
    const QString timer = latencyTimerPath(devicePath);
    const std::optional<int> previous = readTimer(timer);
    if (previous && *previous > 1 && writeTimer(timer, 1)) {
        m_timerPath = timer;
        m_previousTimerMs = previous;
    }
}

void LowLatency::restore(int fd)
{
    serial_struct serial {};
    if (m_flagSet && fd >= 0 && ::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags &= ~ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
    if (m_previousTimerMs)
        writeTimer(m_timerPath, *m_previousTimerMs);
    m_flagSet = false;
    m_previousTimerMs.reset();
}

} // namespace ferrox
