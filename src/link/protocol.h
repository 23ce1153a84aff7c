#pragma once

#include <QByteArray>
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

// CMD_SPEED ('0'..'9') for a monitor-speed text, exactly as the combo box
// shows it (six characters, right-aligned). Firmware V1.03 and later use
// the wide table, every other firmware text (also none yet) the narrow
// one. A text in no row of the applicable table gives no byte at all.
std::optional<std::uint8_t> CMD_SPEED(const QString &firmwareVersion, const QString &monitorSpeedText);

enum class DataWidth { DataOnly, DataAndParity };
// CMD_MODE: 'd' for 8 data bits, 'D' for data + parity (firmware V1.05 only).
std::uint8_t CMD_MODE(DataWidth width);

// CMD_DIRECTION for a direction text: "J1←J2" 'A', "J1→J2" 'B', "双方向" 'G';
// any other text gives no byte. The board starts streaming on it.
std::optional<std::uint8_t> CMD_DIRECTION(const QString &directionText);

// The board's end code after CMD_STOP during a stream.
inline constexpr std::uint8_t EndCode = 0xFF;

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
    QStringList monitorSpeeds; // six-character texts, in list order
    QStringList directions;
    bool rateMeasure = false;  // line speed measurement
    bool dataWidth = false;    // the data-width options and CMD_MODE
};

// Firmware that takes CMD_MODE (and offers the data-width options).
bool takesDataWidth(const QString &firmwareVersion);

// The features for a firmware and a link-speed text; the link's own speed
// caps the monitor speeds at " 28800" when the text is exactly " 57600".
// Nothing for an unsupported firmware.
std::optional<FirmwareFeatures> firmwareFeatures(const QString &firmwareVersion,
                                                 const QString &linkSpeedText);

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

} // namespace ferrox
