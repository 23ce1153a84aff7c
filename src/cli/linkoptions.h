#pragma once

#include "cliarguments.h"

#include "settings/monitorsettings.h"

#include <QObject>

#include <memory>
#include <optional>

namespace ferrox {
class LinkOwner;
class SerialPort;
}

namespace ferrox::cli {

// --device PATH, --pc-speed 57600|115200, --dtr, --rts: the options of
// every command that talks to the board, in the order its usage lists them.
// The device may also stand as the command's one argument (linkArgument(),
// optional): `ferrox-cli monitor /dev/ttyUSB0`.
QList<CliOption> linkOptions();
QString linkArgument();

// The link options as the settings they choose: the port is the device
// path, or COMn as the window maps it (FERROX_COMn, the window's settings
// file, /dev/ttyS{n-1}), which also names it in texts; the link speed, DTR
// and RTS. A usage error (printed) gives nothing; without a device, it
// lists the serial devices found.
std::optional<MonitorSettings> readLinkOptions(CliArguments &args);

// --seconds S: how long a capture or measurement runs before it is
// stopped as if by Ctrl+C. 0 (no limit) when absent; nothing after a usage
// error (printed).
CliOption stopAfterOption(const QString &what);
std::optional<int> readStopAfterMs(CliArguments &args);

// The link port, its one owner and the object a command runs over them.
// They are made in that order and destroyed in reverse, so nothing outlives
// what it holds a reference to.
class LinkSession : public QObject
{
public:
    LinkSession(const QString &device, QObject *parent);
    ~LinkSession() override;

    LinkOwner &owner() { return *m_owner; }

    // Makes the command's user of the link (constructed from the owner and
    // args), kept until the session ends.
    template<typename User, typename... Args>
    User &run(Args &&...args)
    {
        auto user = std::make_unique<User>(owner(), std::forward<Args>(args)...);
        User &made = *user;
        m_user = std::move(user);
        return made;
    }

private:
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<LinkOwner> m_owner;
    std::unique_ptr<QObject> m_user;
};

// The session on the device, alive until the program ends.
LinkSession &openLink(const QString &device);

} // namespace ferrox::cli
