#include "serialport.h"

namespace ferrox {

SerialPort::~SerialPort() = default;

qint16 SerialPort::toWaitingCount(qint64 waiting)
{
    if (waiting <= 32767)
        return static_cast<qint16>(waiting);
    // The count is a 16-bit integer to its users, so 32768..65535 read as
    // negative (a full input queue); larger counts stay negative instead of
    // wrapping back to small positive numbers that would look like a
    // nearly empty queue.
    return static_cast<qint16>(0x8000 | (waiting & 0x7FFF));
}

void SerialPort::announceArrival()
{
    emit bytesArrived();
    if (m_receiveThreshold > 0 && bytesWaiting() != 0
        && (bytesWaiting() < 0 || bytesWaiting() >= m_receiveThreshold))
        emit receiveNotification();
}

QString linkSettingsText(int bitsPerSecond)
{
    return QString::number(bitsPerSecond) + QStringLiteral(",n,8,1");
}

} // namespace ferrox
