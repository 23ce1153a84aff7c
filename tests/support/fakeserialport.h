#pragma once

#include "platform/serialport.h"

#include <QSet>
#include <QStringList>
#include <QTimer>

namespace ferrox::test {

// A link port in memory. What the program does to it is logged in order
// (operations) and what it writes is kept (written) and announced
// (bytesWritten), so a test or the in-process board can answer. Answers
// given to deliver() arrive later, from the event loop, as on a real port.
class FakeSerialPort : public SerialPort
{
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    void setPortName(const QString &portName) override;
    QString portName() const override { return m_portName; }
    QString devicePath() const override { return devicePathShown; }
    PortRefusal refusal() const override { return m_refused ? refusalShown : PortRefusal(); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool setSettings(const QString &settingsText) override;
    QString settings() const override { return m_settings; }
    bool setDtr(bool on) override { return drive("dtr", on); }
    bool setRts(bool on) override { return drive("rts", on); }
    bool cts() const override { return false; } // no modem lines are driven
    bool dsr() const override { return false; }
    bool write(const QByteArray &bytes) override;
    qint16 bytesWaiting() const override { return toWaitingCount(m_input.size()); }
    QByteArray readAll() override;
    void discardInput() override;
    qint64 bytesToSend() const override { return unsent; }
    void setReceiveThreshold(int count) override
    {
        operations << QStringLiteral("threshold %1").arg(count);
        SerialPort::setReceiveThreshold(count);
    }
    int lastError() const override { return m_lastError; }

    // Bytes from the far end; they arrive from the event loop.
    void deliver(const QByteArray &bytes) { QTimer::singleShot(0, this, [this, bytes] { deliverNow(bytes); }); }
    // Bytes from the far end, in the input queue at once.
    void deliverNow(const QByteArray &bytes);
    // A port error event, from the event loop.
    void raiseLineError(int errorCode);

    // Failure injection.
    QSet<int> missingPorts;  // COMn: open() fails with DeviceNotFoundError (1)
    QSet<QString> refusedPaths; // device paths: open() fails with PermissionError (2)
    QString devicePathShown;
    PortRefusal refusalShown; // after open() failed for one of refusedPaths
    bool failWrites = false; // write() fails with WriteError (7)
    qint64 unsent = 0;       // bytes written that the line has not taken yet

    // The log: "port 3" / "port /dev/x", "open 3", "close", "settings 57600,n,8,1", "threshold 0",
    // "discard", "dtr 1", "rts 0", "write 56", "read 22".
    QStringList operations;
    QByteArray written;

signals:
    void bytesWritten(const QByteArray &bytes);
    void settingsApplied(const QString &settingsText);

private:
    // "3" for COM3, the path for a device path.
    QString portLabel() const { return m_portName.startsWith(u'/') ? m_portName : m_portName.mid(3); }
    // Sets a modem line: logged as "dtr 1".
    bool drive(const char *line, bool on);

    QString m_portName = QStringLiteral("COM1");
    bool m_open = false;
    bool m_refused = false;
    QString m_settings = QStringLiteral("57600,n,8,1");
    QByteArray m_input;
    int m_lastError = 0;
};

} // namespace ferrox::test
