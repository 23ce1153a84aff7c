#pragma once

#include "arrivalbatching.h"
#include "lowlatency.h"
#include "serialport.h"

#include <functional>

class QSerialPort;

namespace ferrox {

class SettingsStore;

// Where port number N lives: environment variable FERROX_COMN, else the
// settings key Ports/COMN of application "ferrox", else /dev/ttyS{N-1}.
QString devicePathForPort(int portNumber, const SettingsStore *store);

// The link port on QSerialPort. A port name "COMn" opens the device the
// resolver gives for number n; a device path opens as it is. A pseudo-terminal has no modem lines:
// DTR/RTS then fail with UnsupportedOperationError and CTS/DSR read off,
// which callers treat as lamps off, not as a port failure. Errors inside
// the port's own calls are returned by them; lineError() reports only the
// error events of an open port (an unplugged adapter, a read failing).
class QtSerialPort : public SerialPort
{
    Q_OBJECT
public:
    using PathResolver = std::function<QString(int portNumber)>;
    explicit QtSerialPort(PathResolver resolver, QObject *parent = nullptr);
    ~QtSerialPort() override;

    void setPortName(const QString &portName) override;
    QString portName() const override { return m_portName; }
    QString devicePath() const override;
    PortRefusal refusal() const override { return m_refusal; }
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool setSettings(const QString &settingsText) override;
    QString settings() const override { return m_settingsText; }
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    bool cts() const override;
    bool dsr() const override;
    bool write(const QByteArray &bytes) override;
    qint16 bytesWaiting() const override;
    qint64 bytesToSend() const override;
    QByteArray readAll() override;
    void discardInput() override;
    void setArrivalBatching(bool on) override;
    // Any exchange sets its threshold first: batching ends there.
    void setReceiveThreshold(int count) override;
    int lastError() const override { return m_lastError; }

private:
    // Marks a call of ours on the port for the error handler.
    class OwnCall
    {
    public:
        explicit OwnCall(const QtSerialPort *port);
        ~OwnCall();
        OwnCall(const OwnCall &) = delete;
        OwnCall &operator=(const OwnCall &) = delete;

    private:
        const QtSerialPort *m_port;
    };

    bool applySettings();
    // Closes the port leaving the device at the link's settings.
    void closeKeepingSettings();
    bool succeeded(bool ok);
    int pinouts() const;

    PathResolver m_resolver;
    QSerialPort *m_port;
    QString m_portName = QStringLiteral("COM1");
    QString m_settingsText = QStringLiteral("57600,n,8,1");
    // Received bytes are handed over at once, so their arrival times show
    // the monitored line's gaps rather than the adapter's batches.
    LowLatency m_lowLatency;
    ArrivalBatching m_batching;
    int m_lastError = 0;
    PortRefusal m_refusal;
    mutable int m_callDepth = 0;
};

struct LineSettings
{
    qint32 baudRate = 0;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};
// Parses "speed,parity,data,stop" (spaces around the speed allowed);
// false for anything else.
bool parseLineSettings(const QString &text, LineSettings &out);

} // namespace ferrox
