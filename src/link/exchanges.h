#pragma once

#include "linkscript.h"
#include "protocol.h"

#include <optional>

namespace ferrox {

// The exchanges with the board, byte for byte and in order. Each builds
// the steps only; a lease on the link runs them.

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

// Capture start, first part: the port is made ready (opened if closed;
// failing to open it is a port failure).
LinkScript captureReadyScript();

// Capture start, the rest: speed, the data width for firmware that takes
// it, the version reply (22 bytes within a second), the direction; the
// board then streams.
LinkScript captureConfigureScript(std::uint8_t speedCommand, std::optional<std::uint8_t> modeCommand,
                                  std::uint8_t directionCommand);

// Capture stop. A stop the user asks for leaves the stream bytes waiting
// at the port to the capture; the capture's own forced stops (overflow,
// data rate) discard them first. A failing write is a port failure.
LinkScript captureStopScript(bool discardFirst);
// The end of a capture: what still waits is dropped; unless the stream is
// handed on to the simple monitor, the board is told to stop and the
// command is let out at the link speed before anyone may close the port.
LinkScript captureEndScript(bool quietBoard);

// Simple monitor start: a command without a byte (a text the tables do
// not know) is left out; the board streams with receive notifications at
// two waiting bytes.
LinkScript simpleMonitorStartScript(std::optional<std::uint8_t> speedCommand,
                                    std::optional<std::uint8_t> directionCommand);
LinkScript simpleMonitorStopScript();

// Signal sample: 2 bytes within one second; a port that cannot be opened
// is a port failure.
LinkScript signalSampleScript();

// Line speed measurement: 101 bytes without time limit, then stop.
LinkScript measurementScript();
// The measurement stopped by the user.
LinkScript measurementStopScript();

} // namespace ferrox
