#pragma once

#include <QList>
#include <QString>

namespace ferrox {

// A serial device present on the machine.
struct SerialDevice
{
    QString path;        // "/dev/ttyUSB0"
    QString description; // the adapter's own words; may be empty
    QString byIdName;    // its stable name under /dev/serial/by-id; may be empty
};

// The serial devices the system reports, in its order, each with its
// /dev/serial/by-id name when it has one. Pseudo-terminals are not
// among them.
QList<SerialDevice> findSerialDevices();

// One device for a terminal: path, description and by-id name separated
// by tabs ("-" for what is unknown).
QString serialDeviceLine(const SerialDevice &device);

} // namespace ferrox
