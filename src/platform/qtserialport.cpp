#include "qtserialport.h"

#include "settingsstore.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QStringList>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ferrox {

QString devicePathForPort(int portNumber, const SettingsStore *store)
{
    const QString name = QStringLiteral("COM%1").arg(portNumber);
    const QByteArray fromEnvironment = qgetenv(("FERROX_" + name.toLatin1()).constData());
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);
    if (store) {
        const QString stored = store->GetSetting(QStringLiteral("ferrox"), QStringLiteral("Ports"),
                                                 name, QString());
        if (!stored.isEmpty())
            return stored;
    }
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}

bool parseLineSettings(const QString &text, LineSettings &out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const qint32 baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        return false;
    const QString parity = parts[1].trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("neoms").contains(parity))
        return false;
    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return false;
    const int stopBits = parts[3].trimmed().toInt(&ok);
    if (!ok || (stopBits != 1 && stopBits != 2))
        return false;
    out = {baud, parity.at(0).toLatin1(), dataBits, stopBits};
    return true;
}

QtSerialPort::QtSerialPort(PathResolver resolver, QObject *parent)
    : SerialPort(parent), m_resolver(std::move(resolver)), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        m_batching.readDone();
        announceArrival();
    });
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // Errors Qt raises inside our own calls (a failed open(), write(),
        // a modem line a pty lacks) are returned by those calls. Only what
        // happens to an open port by itself is a line event: answering a
        // failed reopen with another reopen would never end.
        if (error == QSerialPort::NoError || m_callDepth > 0 || !m_port->isOpen())
            return;
        m_lastError = error;
        emit lineError(error);
    });
}

QtSerialPort::~QtSerialPort()
{
    // Not QSerialPort's own close on destruction: it puts settings back.
    if (m_port->isOpen())
        close();
}

QtSerialPort::OwnCall::OwnCall(const QtSerialPort *port) : m_port(port)
{
    ++m_port->m_callDepth;
}

QtSerialPort::OwnCall::~OwnCall()
{
    --m_port->m_callDepth;
}

bool QtSerialPort::succeeded(bool ok)
{
    m_lastError = ok ? 0 : m_port->error();
    if (!ok && m_lastError == 0)
        m_lastError = QSerialPort::UnknownError;
    m_port->clearError();
    return ok;
}

void QtSerialPort::setPortName(const QString &portName)
{
    m_portName = portName;
}

QString QtSerialPort::devicePath() const
{
    if (m_portName.startsWith(u'/'))
        return m_portName;
    return m_resolver(m_portName.mid(3).toInt());
}

bool QtSerialPort::open()
{
    const OwnCall call(this);
    if (m_port->isOpen())
        return succeeded(true);
    // The device, not its spelling: the lock another program takes on it
    // is found whether it went through a link or the real path.
    const QFileInfo device(devicePath());
    m_port->setPortName(device.exists() ? device.canonicalFilePath() : device.filePath());
    m_refusal = {};
    if (!succeeded(m_port->open(QIODevice::ReadWrite))) {
        m_refusal = diagnosePortRefusal(device.filePath(), m_lastError);
        return false;
    }
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!applySettings()) {
        const int error = m_lastError;
        m_port->close();
        m_lastError = error;
        return false;
    }
    m_lowLatency.apply(int(m_port->handle()), devicePath());
    return true;
}

void QtSerialPort::close()
{
    const OwnCall call(this);
    // A command still on its way (the CMD_STOP of a program that closes
    // mid-stream, a byte or two) is handed to the driver and drained
    // before the port closes.
    if (m_port->isOpen()) {
        m_port->flush();
        ::tcdrain(int(m_port->handle()));
    }
    m_batching.setOn(-1, false);
    m_lowLatency.restore(int(m_port->handle()));
    closeKeepingSettings();
    m_lastError = 0;
}

// QSerialPort's close puts back the terminal settings it found at open
// (tcsetattr TCSANOW on its descriptor, unchecked; Qt 6 has no switch to
// turn it off). The drain does not make that safe: a USB adapter still
// holds the last byte in its FIFO, and on a pseudo-terminal the board has
// not read it yet. Put back, the device's former speed (9600 baud on a
// fresh one) garbles the stop that ends every exchange, and the board
// streams on. So the device keeps
// the link's settings: for Qt's close its descriptor number refers to
// /dev/null, where the restore fails harmlessly, and the device itself is
// released here (exclusive use ended, closed) once Qt let go of its lock.
//
// Setting the device to the link's settings before Qt opens it, so that
// what Qt puts back is the link's own, would hold only for the settings in
// force at the open: the connection check opens the port and sets the link
// speed after, and the window changes the link speed of an open port.
void QtSerialPort::closeKeepingSettings()
{
    const int fd = m_port->isOpen() ? int(m_port->handle()) : -1;
    const int device = fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    const int null = device >= 0 ? ::open("/dev/null", O_RDWR | O_CLOEXEC) : -1;
    if (null < 0 || ::dup2(null, fd) != fd) {
        // Out of descriptors: the plain close, settings put back.
        for (const int own : {device, null}) {
            if (own >= 0)
                ::close(own);
        }
        m_port->close();
        return;
    }
    ::close(null);
    ::ioctl(device, TIOCNXCL);
    m_port->close();
    ::close(device);
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

bool QtSerialPort::setSettings(const QString &settingsText)
{
    LineSettings parsed;
    if (!parseLineSettings(settingsText, parsed)) {
        m_lastError = QSerialPort::UnsupportedOperationError;
        return false;
    }
    m_settingsText = settingsText;
    return m_port->isOpen() ? applySettings() : succeeded(true);
}

bool QtSerialPort::applySettings()
{
    const OwnCall call(this);
    LineSettings s;
    if (!parseLineSettings(m_settingsText, s))
        return succeeded(false);
    const QSerialPort::Parity parity = s.parity == 'e' ? QSerialPort::EvenParity
        : s.parity == 'o'                           ? QSerialPort::OddParity
        : s.parity == 'm'                           ? QSerialPort::MarkParity
        : s.parity == 's'                           ? QSerialPort::SpaceParity
                                                    : QSerialPort::NoParity;
    const bool applied = m_port->setBaudRate(s.baudRate) && m_port->setParity(parity)
        && m_port->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits))
        && m_port->setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_batching.settingsRewritten(); // the toolkit wrote its own terminal settings back
    return succeeded(applied);
}

void QtSerialPort::setReceiveThreshold(int count)
{
    m_batching.setOn(-1, false);
    SerialPort::setReceiveThreshold(count);
}

void QtSerialPort::setArrivalBatching(bool on)
{
    m_batching.setOn(m_port->isOpen() ? int(m_port->handle()) : -1, on);
}

bool QtSerialPort::setDtr(bool on)
{
    const OwnCall call(this);
    return succeeded(m_port->setDataTerminalReady(on));
}

bool QtSerialPort::setRts(bool on)
{
    const OwnCall call(this);
    return succeeded(m_port->setRequestToSend(on));
}

int QtSerialPort::pinouts() const
{
    const OwnCall call(this);
    // Reading the lines does not change the port; QSerialPort just lacks the const.
    const int lines = static_cast<int>(m_port->pinoutSignals());
    m_port->clearError();
    return lines;
}

bool QtSerialPort::cts() const
{
    return m_port->isOpen() && (pinouts() & QSerialPort::ClearToSendSignal);
}

bool QtSerialPort::dsr() const
{
    return m_port->isOpen() && (pinouts() & QSerialPort::DataSetReadySignal);
}

bool QtSerialPort::write(const QByteArray &bytes)
{
    const OwnCall call(this);
    if (!m_port->isOpen())
        return succeeded(false);
    m_port->clearError();
    const bool queued = m_port->write(bytes) == bytes.size();
    // flush() hands the bytes to the driver now instead of at the next
    // event-loop pass; it does not wait for them to leave the wire. A
    // driver that refuses them fails this write.
    if (queued)
        m_port->flush();
    return succeeded(queued && m_port->error() == QSerialPort::NoError);
}

qint64 QtSerialPort::bytesToSend() const
{
    if (!m_port->isOpen())
        return 0;
    int queued = 0;
    // The driver's output queue; a device that cannot tell counts as empty.
    if (::ioctl(int(m_port->handle()), TIOCOUTQ, &queued) != 0)
        queued = 0;
    return m_port->bytesToWrite() + qMax(queued, 0);
}

qint16 QtSerialPort::bytesWaiting() const
{
    return toWaitingCount(m_port->isOpen() ? m_port->bytesAvailable() : 0);
}

QByteArray QtSerialPort::readAll()
{
    const OwnCall call(this);
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

void QtSerialPort::discardInput()
{
    const OwnCall call(this);
    if (!m_port->isOpen())
        return;
    // Both what Qt has buffered and what the driver still holds.
    m_port->readAll();
    m_port->clear(QSerialPort::Input);
}

} // namespace ferrox
