#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace ferrox {

// The monitored line as the board reports it: a stream of tagged nibbles,
// two stream bytes per monitored byte, high nibble first. Tags 0x8/0x9
// carry a byte sent by J2, 0xA/0xB a byte sent by J1. Traffic never holds
// the end code 0xFF; the board adds it when a stream is stopped.

enum class Sender { J1, J2 };

// Appends the two stream bytes that report value sent by sender.
void appendMonitoredBytes(QByteArray &stream, Sender sender, const QByteArray &values);

// A host (J1) polling a measuring terminal (J2): ENQ/ACK, STX..ETX frames,
// a NAK and its retransmission, CR LF, and code page 932 text.
QByteArray demoTraffic();

// A Modbus RTU master (J1) polling servers 17 and 1 (J2 answers): one
// request and its response for each of functions 1–6, 15, 16 and 23, then
// an exception response (ILLEGAL DATA ADDRESS), every frame with its CRC.
QByteArray modbusTraffic();

// Reproducible random bytes in both directions, in runs of 1 to 32 bytes
// per sender; the same seed always gives the same stream.
QByteArray randomTraffic(quint32 seed);

// The traffic named by --traffic: "demo", "modbus", "random:SEED" (SEED 0..4294967295)
// or the path of a data file, whose raw stream is used as it is up to its
// first end code. nullopt with a message for the user when the source is
// unusable (unreadable, empty, larger than 64 MiB, malformed seed).
std::optional<QByteArray> loadTraffic(const QString &source, QString &error);

// The seed of a "random:SEED" option value (SEED 0..4294967295); nullopt
// for any other text.
std::optional<quint32> randomSeedOf(const QString &value);

// The part of the traffic a direction command lets through: 'A' only bytes
// sent by J2 (tags 0x8/0x9), 'B' only bytes sent by J1 (0xA/0xB), 'G'
// everything, receive errors included. Any other command: nothing.
QByteArray trafficForDirection(const QByteArray &stream, char direction);

// stream with count bytes of undefined tags (0xC..0xE and 0x0..0x7) spread
// evenly over it, each placed between two monitored bytes.
QByteArray withErrorTags(const QByteArray &stream, int count);

// True for a stream byte that starts a monitored byte (tag 0x8 or 0xA).
constexpr bool isHighNibble(std::uint8_t b)
{
    return (b & 0xF0) == 0x80 || (b & 0xF0) == 0xA0;
}

// True when low is the stream byte that completes the monitored byte high
// started (tag 0x9 after 0x8, 0xB after 0xA).
constexpr bool completes(std::uint8_t high, std::uint8_t low)
{
    return isHighNibble(high) && (low & 0xF0) == (high & 0xF0) + 0x10;
}

} // namespace ferrox
