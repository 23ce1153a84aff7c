#include "serialport.h"

namespace ferrox {

SerialPort::~SerialPort() = default;

qint16 SerialPort::toWaitingCount(qint64 waiting)
{
    if (waiting <= 32767)
        return static_cast<qint16>(waiting);
    // The old program saw the count as a 16-bit integer, so 32768..65535
    // read as negative; larger counts stay negative here instead of
    // wrapping back to small positive numbers.
    return static_cast<qint16>(0x8000 | (waiting & 0x7FFF));
}

void SerialPort::announceArrival()
{
    emit bytesArrived();
    if (m_receiveThreshold > 0 && bytesWaiting() != 0
        && (bytesWaiting() < 0 || bytesWaiting() >= m_receiveThreshold))
        emit receiveNotification();
}

QString linkSettingsText(const QString &speedText)
{
    return speedText + QStringLiteral(",n,8,1");
}

} // namespace ferrox
