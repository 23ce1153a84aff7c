#pragma once

#include <QString>

namespace ferrox {

// Why a serial device could not be opened, as far as the system tells:
// the port messages name the device and this reason.
struct PortRefusal
{
    enum class Kind {
        None,         // opened, or nothing to say
        InUse,        // another program holds it (its lock file, an exclusive open)
        NoPermission, // the user may not open it
        Missing,      // no such device
    };
    Kind kind = Kind::None;
    QString devicePath;
    // InUse: the holding process as "1234 (minicom)" when a lock file names
    // a live one; empty when it cannot be told.
    QString holder;
    // NoPermission: the group to join, only when that group may open the
    // device, it is not root and the user is not in it yet; else empty.
    QString group;
};

// Works out why opening devicePath failed; errorCode is the port's error
// (a QSerialPort::SerialPortError), which alone cannot tell a device in use
// from one the user may not open.
PortRefusal diagnosePortRefusal(const QString &devicePath, int errorCode);

// The group whose members may read and write the device, when joining it
// would help: never root, never one the user is already in; else empty.
QString deviceGroupToJoin(const QString &devicePath);

// The lock file a program puts beside a device it holds (the UUCP
// convention: "LCK.." and the device's name under /dev with "/" as "_"),
// searched in the usual lock folders; empty when there is none.
QString portLockFile(const QString &devicePath);

} // namespace ferrox
