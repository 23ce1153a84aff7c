#pragma once

#include <QString>

#include <optional>

namespace ferrox {

// Which bytes of the monitored line the board streams.
enum class MonitorDirection {
    Both,   // both directions
    J1ToJ2, // the bytes J1 sends
    J2ToJ1  // the bytes J2 sends
};

// What the board captures of each monitored byte (firmware V1.05 only).
enum class DataWidth { DataOnly, DataAndParity };

// How a live view shows monitored bytes.
enum class LiveDisplay {
    Hex, // a space and two upper-case hex digits: " 0A"
    Text // named control codes ("[CR_]"), printable ASCII and half-width
         // katakana as themselves, any other byte as "･"
};

// Every choice the user makes for the link and the monitored line, as one
// value. Speeds are bits per second. A choice whose text names no item of
// its list (an edited combo box, a hand-edited store) is "not valid"
// (nullopt): the board is then not set up for it, as it never was.
struct MonitorSettings
{
    QString port = QStringLiteral("COM1"); // "COMn" or a device path, as chosen
    std::optional<int> linkSpeed = 57600;
    std::optional<int> monitoredSpeed = 9600;
    std::optional<MonitorDirection> direction = MonitorDirection::Both;
    DataWidth dataWidth = DataWidth::DataOnly;
    bool rts = false;
    bool dtr = false;
    // DisplayModeNumber of the next capture: 1 to 5; 0 renders nothing.
    qint32 displayMode = 1;
    LiveDisplay liveDisplay = LiveDisplay::Hex;

    bool operator==(const MonitorSettings &) const = default;
};

} // namespace ferrox
