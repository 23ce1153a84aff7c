#include "fakeserialport.h"

#include <utility>

namespace ferrox::test {

void FakeSerialPort::setPortName(const QString &portName)
{
    m_portName = portName;
    operations << QStringLiteral("port ") + portLabel();
}

bool FakeSerialPort::open()
{
    operations << QStringLiteral("open ") + portLabel();
    m_refused = refusedPaths.contains(m_portName);
    if (m_refused) {
        m_lastError = PermissionError;
        return false;
    }
    if (missingPorts.contains(m_portName.mid(3).toInt())) {
        m_lastError = 1;
        return false;
    }
    m_open = true;
    m_lastError = 0;
    emit settingsApplied(m_settings);
    return true;
}

void FakeSerialPort::close()
{
    operations << QStringLiteral("close");
    m_open = false;
    m_input.clear();
}

bool FakeSerialPort::drive(const char *line, bool on)
{
    operations << QStringLiteral("%1 %2").arg(QLatin1String(line)).arg(int(on));
    m_lastError = 0;
    return true;
}

bool FakeSerialPort::setSettings(const QString &settingsText)
{
    operations << QStringLiteral("settings ") + settingsText;
    m_settings = settingsText;
    if (m_open)
        emit settingsApplied(m_settings);
    return true;
}

bool FakeSerialPort::write(const QByteArray &bytes)
{
    operations << QStringLiteral("write ") + QString::fromLatin1(bytes.toHex(' '));
    if (!m_open || failWrites) {
        m_lastError = m_open ? 7 : 13;
        return false;
    }
    m_lastError = 0;
    written += bytes;
    emit bytesWritten(bytes);
    return true;
}

QByteArray FakeSerialPort::readAll()
{
    operations << QStringLiteral("read %1").arg(m_input.size());
    return std::exchange(m_input, {});
}

void FakeSerialPort::discardInput()
{
    operations << QStringLiteral("discard");
    m_input.clear();
}

void FakeSerialPort::deliverNow(const QByteArray &bytes)
{
    if (!m_open)
        return; // nobody listens on a closed port
    m_input += bytes;
    announceArrival();
}

void FakeSerialPort::raiseLineError(int errorCode)
{
    QTimer::singleShot(0, this, [this, errorCode] {
        m_lastError = errorCode;
        emit lineError(errorCode);
    });
}

} // namespace ferrox::test
