#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "portrefusal.h"

namespace ferrox {

// The link port to the board, as the program's exchanges see it.
//
// Ports are addressed by name: "COMn" (a numbered port, COM1..COM255,
// mapped to a device by the implementation) or a device path such as
// "/dev/ttyUSB0", opened as it is. All operations are
// non-blocking; bytes arrive by signal. Errors are reported as numbers
// (the QSerialPort::SerialPortError values; 0 = none), which is what the
// program's port messages show.
//
// Receive threshold: with a threshold n > 0, receiveNotification() fires
// whenever at least n bytes wait after an arrival; 0 switches it off.
// bytesArrived() fires on every arrival whatever the threshold: the
// board exchanges count their replies on it.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override;

    virtual void setPortName(const QString &portName) = 0;
    virtual QString portName() const = 0;
    // The device the port opens (empty when not known), and why the last
    // open() failed: port messages name both.
    virtual QString devicePath() const { return {}; }
    virtual PortRefusal refusal() const { return {}; }
    // Opens the port set by setPortName() with the current settings text.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Line settings as text: speed, parity, data bits, stop bits, for
    // example " 57600,n,8,1". False when the text cannot be applied.
    virtual bool setSettings(const QString &settingsText) = 0;
    virtual QString settings() const = 0;

    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool cts() const = 0;
    virtual bool dsr() const = 0;

    virtual bool write(const QByteArray &bytes) = 0;
    // Bytes waiting, as a signed 16-bit count: more than 32767 waiting
    // bytes read as a negative number (see toWaitingCount()).
    virtual qint16 bytesWaiting() const = 0;
    virtual QByteArray readAll() = 0;
    virtual void discardInput() = 0;
    // Bytes written but not yet sent on the line (the program's and the
    // driver's queues): a command must leave before the port is closed
    // and its settings are put back.
    virtual qint64 bytesToSend() const { return 0; }

    // For a stream read in bulk: arrivals may be noticed in batches (a few
    // dozen bytes, or a few tens of milliseconds), never lost or reordered.
    // Setting a receive threshold, which every exchange does before it
    // counts a reply, ends it.
    virtual void setArrivalBatching(bool on) { (void)on; }

    virtual void setReceiveThreshold(int count) { m_receiveThreshold = count; }

    // The error of the last failed operation (0 when it succeeded).
    virtual int lastError() const = 0;

    // 0..32767 as they are; any larger count negative, never 0 or positive.
    static qint16 toWaitingCount(qint64 waiting);

    // The error of a device that refused us (QSerialPort::PermissionError).
    static constexpr int PermissionError = 2;

signals:
    void bytesArrived();
    void receiveNotification();
    // A port error event: an unplugged adapter, a framing or overrun error.
    void lineError(int errorCode);

protected:
    // Implementations call this after bytes were added to the input queue.
    void announceArrival();

private:
    int m_receiveThreshold = 0;
};

// Settings text for a link speed in bits per second: 57600 -> "57600,n,8,1".
QString linkSettingsText(int bitsPerSecond);

} // namespace ferrox
