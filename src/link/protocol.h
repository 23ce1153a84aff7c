#pragma once

#include "settings/monitorsettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace ferrox {

// The board's wire protocol: every command is one byte, sent on its own.

inline constexpr std::uint8_t CMD_VERSION = 0x56; // 'V': identification + firmware, 22-byte reply
inline constexpr std::uint8_t CMD_SIGNALS = 0x53; // 'S': monitored line's signal states, 2-byte reply
inline constexpr std::uint8_t CMD_MEASURE = 0x4D; // 'M': bit-time records until CMD_STOP
inline constexpr std::uint8_t CMD_STOP = 0x45;    // 'E': end streaming or measuring

// The speed, data-width and direction commands carry their value in the
// byte itself.

// CMD_SPEED ('0'..'9') for a monitored speed in bits per second. Firmware
// V1.03 and later use the wide table, every other firmware text (also none
// yet) the narrow one. A speed in no row of the applicable table gives no
// byte at all.
std::optional<std::uint8_t> CMD_SPEED(const QString &firmwareVersion, int monitoredSpeed);

// CMD_MODE: 'd' for 8 data bits, 'D' for data + parity (firmware V1.05 only).
std::uint8_t CMD_MODE(DataWidth width);

// CMD_DIRECTION: J2 to J1 'A', J1 to J2 'B', both 'G'. The board starts
// streaming on it.
std::uint8_t CMD_DIRECTION(MonitorDirection direction);

// Replies are complete by count alone.
inline constexpr int VersionReplyLength = 22;
inline constexpr int SignalReplyLength = 2;
inline constexpr int MeasureReplyLength = 101; // 50 two-byte records and one more byte
inline constexpr int ReplyTimeoutMs = 1000;    // from just after the command is sent
inline constexpr int StopDrainLimitMs = 500;   // a stop byte left unsent this long is given up
inline constexpr int SpeedPauseMs = 10;        // after CMD_SPEED and the simple monitor's direction

// Firmware versions the program supports, compared exactly.
const QStringList &supportedFirmwareVersions();
bool isSupportedFirmware(const QString &firmwareVersion);

// What a supported firmware offers on the settings panel.
struct FirmwareFeatures
{
    QList<int> monitorSpeeds; // bits per second, in list order
    QList<MonitorDirection> directions;
    bool rateMeasure = false; // line speed measurement
    bool dataWidth = false;   // the data-width options and CMD_MODE
};

// Firmware that takes CMD_MODE (and offers the data-width options).
bool takesDataWidth(const QString &firmwareVersion);

// The monitored speeds a firmware's table holds (the narrow one for any
// firmware before V1.03, also for none yet), in list order. Over a slow
// link (57600 bits per second) the monitored line is capped at 28800.
QList<int> monitorSpeedsOffered(const QString &firmwareVersion, bool slowLink);

// The features for a firmware and a link speed; only a link of exactly
// 57600 bits per second is the slow one. Nothing for an unsupported
// firmware.
std::optional<FirmwareFeatures> firmwareFeatures(const QString &firmwareVersion, std::optional<int> linkSpeed);

// A choice of the monitored line that a board cannot be set up for.
enum class LinkChoice {
    MonitorSpeed, // not valid, or not offered by the firmware over the link
    Direction,    // not valid, or not offered by the firmware
    DataWidth     // data + parity, which only a firmware taking CMD_MODE captures
};

// The first of settings' monitored speed, direction and data width that the
// firmware, over settings' link speed, does not offer (the same table that
// fills the settings panel); nothing when it offers them all. An
// unsupported firmware offers nothing.
std::optional<LinkChoice> unofferedChoice(const QString &firmwareVersion, const MonitorSettings &settings);

// The monitored speeds some supported firmware offers over a link speed,
// in list order: what can be chosen before the board is known.
QList<int> monitorSpeedsOverLink(std::optional<int> linkSpeed);

// The identification that starts the version reply of our board.
QByteArray boardIdentification();

// Reading a version reply: bytes are characters one for one.
// BoardReply: bytes 0..15; FirmwareVersion: bytes 10..14 (empty when the
// reply is shorter).
QString boardReplyOf(const QByteArray &reply);
QString firmwareVersionOf(const QByteArray &reply);

enum class VersionVerdict {
    TooShort,            // fewer than 22 bytes
    ForeignBoard,        // bytes 0..8 are not our identification
    UnsupportedFirmware, // ours, but a firmware the program does not know
    Verified
};
VersionVerdict assessVersionReply(const QByteArray &reply);

// The port number in a port text such as "COM17": the digits after the
// first three characters (leading spaces skipped), 0 when there are none.
int portNumberFromText(const QString &portText);
// Port numbers a link port can be set to.
bool isValidPortNumber(int portNumber);

// A port text starting with "/" is a device path.
bool isDevicePath(const QString &portText);
// The port a panel text names: a device path as it is, otherwise "COM"
// and the number portNumberFromText() reads ("COM 3" -> "COM3", "COMx" ->
// "COM0"). This is the name the port messages show.
QString portNameFromText(const QString &portText);
// Port names a link port can be set to: a device path or a valid COMn.
bool isValidPortName(const QString &portName);

} // namespace ferrox
