#include "serialdevices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace ferrox {

QList<SerialDevice> findSerialDevices()
{
    // The by-id links name the device they point to.
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QList<SerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialDevice device{info.systemLocation(), info.description(), QString()};
        const QString target = QFileInfo(device.path).canonicalFilePath();
        for (const QFileInfo &link : links) {
            if (!target.isEmpty() && link.canonicalFilePath() == target) {
                device.byIdName = link.absoluteFilePath();
                break;
            }
        }
        devices << device;
    }
    return devices;
}

QString serialDeviceLine(const SerialDevice &device)
{
    const auto orDash = [](const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; };
    return device.path + u'\t' + orDash(device.description) + u'\t' + orDash(device.byIdName);
}

} // namespace ferrox
