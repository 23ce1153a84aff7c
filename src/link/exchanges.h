#pragma once

#include "linkscript.h"
#include "protocol.h"

#include <optional>

namespace ferrox {

// The link's own exchanges with the board (start-up, the connection check,
// the port and link-speed choices), byte for byte and in order. Each builds
// the steps only; a lease on the link runs them. A board feature keeps its
// own scripts beside it.

struct CheckRequest
{
    QString portName = QStringLiteral("COM1"); // "COMn" or a device path
    std::optional<int> linkSpeed = 57600; // bits per second; a speed not valid fails the port's settings
    bool rts = false;
    bool dtr = false;
};

// Start-up: prepare the port and open it with the link speed.
LinkScript startUpOpenScript(const QString &portName, std::optional<int> linkSpeed);

// The request a connection check makes of the chosen settings.
CheckRequest checkRequestOf(const MonitorSettings &settings);

// Connection check: reopen the port with the settings, set the modem
// lines, read CTS/DSR, ask for the version and read at least 22 bytes
// within one second. Every port failure, also one during the wait, ends
// it as a port failure.
LinkScript connectionCheckScript(const CheckRequest &request);

// Port choice: close, set the new port, open.
LinkScript portChangeScript(const QString &portName);

// Link-speed choice: the port's settings text follows at once.
LinkScript linkSpeedScript(std::optional<int> linkSpeed);

} // namespace ferrox
