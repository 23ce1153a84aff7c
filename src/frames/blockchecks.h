#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace ferrox {

// Block checks over a run of bytes.
std::uint8_t xorCheck(QByteArrayView bytes);
std::uint8_t sumCheck(QByteArrayView bytes); // the sum modulo 256
std::uint8_t lrcCheck(QByteArrayView bytes); // Modbus ASCII's: the sum's two's complement
// CRC-16 as Modbus RTU uses it: polynomial 0xA001 (reflected 0x8005),
// start 0xFFFF. It travels low byte first.
std::uint16_t crc16Modbus(QByteArrayView bytes);
// The same CRC as it travels: low byte, high byte.
QByteArray crc16ModbusBytes(QByteArrayView bytes);

} // namespace ferrox
