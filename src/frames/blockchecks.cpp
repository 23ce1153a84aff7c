#include "blockchecks.h"

#include <array>

namespace ferrox {

namespace {

constexpr std::array<std::uint16_t, 256> crcTable = [] {
    std::array<std::uint16_t, 256> table {};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = std::uint16_t(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
        table[i] = crc;
    }
    return table;
}();

} // namespace

std::uint8_t xorCheck(QByteArrayView bytes)
{
    std::uint8_t check = 0;
    for (const char b : bytes)
        check ^= std::uint8_t(b);
    return check;
}

std::uint8_t sumCheck(QByteArrayView bytes)
{
    std::uint8_t check = 0;
    for (const char b : bytes)
        check = std::uint8_t(check + std::uint8_t(b));
    return check;
}

std::uint8_t lrcCheck(QByteArrayView bytes)
{
    return std::uint8_t(0x100 - sumCheck(bytes));
}

std::uint16_t crc16Modbus(QByteArrayView bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (const char b : bytes)
        crc = std::uint16_t((crc >> 8) ^ crcTable[(crc ^ std::uint8_t(b)) & 0xFF]);
    return crc;
}

QByteArray crc16ModbusBytes(QByteArrayView bytes)
{
    const std::uint16_t crc = crc16Modbus(bytes);
    QByteArray wire(2, Qt::Uninitialized);
    wire[0] = char(crc & 0xFF);
    wire[1] = char(crc >> 8);
    return wire;
}

} // namespace ferrox
