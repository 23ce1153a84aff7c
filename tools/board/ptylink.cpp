#include "ptylink.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace ferrox {

namespace {

// Above the largest --flood, so a flood reaches a reading PC whole.
constexpr qsizetype maxPending = 32 * 1024 * 1024;
// A serial device's speed before any program has set one.
constexpr int freshDeviceBaud = 9600;
// What the PC writes reaches the board's receiver this long after its
// write returned, as through a USB adapter (its FIFO, the next USB frame),
// which a drain does not wait for: a byte is heard at the speed the link
// has by then.
constexpr int transitMs = 2;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

constexpr struct
{
    speed_t code;
    int baud;
} speeds[] = {
    {B50, 50},         {B75, 75},           {B110, 110},         {B134, 134},         {B150, 150},
    {B200, 200},       {B300, 300},         {B600, 600},         {B1200, 1200},       {B1800, 1800},
    {B2400, 2400},     {B4800, 4800},       {B9600, 9600},       {B19200, 19200},     {B38400, 38400},
    {B57600, 57600},   {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000}, {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000}, {B1500000, 1500000},
    {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000}, {B3500000, 3500000}, {B4000000, 4000000},
};

int baudOf(speed_t code)
{
    for (const auto &s : speeds) {
        if (s.code == code)
            return s.baud;
    }
    return 0;
}

speed_t codeOf(int baud)
{
    for (const auto &s : speeds) {
        if (s.baud == baud)
            return s.code;
    }
    return B57600;
}

} // namespace

PtyLink::~PtyLink()
{
    hangUp();
}

bool PtyLink::open(QString &error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        error = systemError("cannot open a pseudo-terminal");
        return false;
    }
    const char *slave = (grantpt(m_master) == 0 && unlockpt(m_master) == 0) ? ptsname(m_master) : nullptr;
    if (slave)
        m_slaveKeeper = ::open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios tio {};
    if (m_slaveKeeper < 0 || tcgetattr(m_slaveKeeper, &tio) != 0) {
        error = systemError("cannot open the pseudo-terminal's slave side");
        hangUp();
        return false;
    }
    // Raw from the start: a program that opens the port without setting it
    // up fully must still see the bytes unchanged.
    cfmakeraw(&tio);
    // At a fresh device's speed, not the jumper's, until a program sets its
    // own: a program that closes its port puts back the settings it found,
    // and those must not happen to be the board's, or a last command that
    // the close sends at the wrong speed would still be heard.
    cfsetspeed(&tio, codeOf(freshDeviceBaud));
    tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    m_slavePath = QString::fromLocal8Bit(slave);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    m_transit.setSingleShot(true);
    m_transit.setTimerType(Qt::PreciseTimer);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this] {
        m_readNotifier->setEnabled(false);
        m_transit.start(transitMs);
    });
    connect(&m_transit, &QTimer::timeout, this, &PtyLink::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyLink::writePending);
    return true;
}

int PtyLink::linkBaud() const
{
    // On the master, the terminal attributes are those of the slave side,
    // which the program's port has set.
    termios tio {};
    if (tcgetattr(m_master, &tio) != 0)
        return 0;
    return baudOf(cfgetospeed(&tio));
}

void PtyLink::readMaster()
{
    // A byte by byte, each judged by the link speed at the moment it is
    // read, a transit after it came: a board's receiver hears a byte only
    // at its own speed, so a byte the PC wrote just before putting another
    // speed back is lost, as on a real line. Bytes read at one speed are
    // handed on together.
    QByteArray bytes;
    int bytesBaud = 0;
    for (;;) {
        char byte = 0;
        const ssize_t n = ::read(m_master, &byte, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // drained (EAGAIN)
        const int baud = linkBaud();
        if (baud != bytesBaud && !bytes.isEmpty())
            emit received(std::exchange(bytes, QByteArray()), bytesBaud);
        bytesBaud = baud;
        bytes.append(byte);
    }
    if (!bytes.isEmpty())
        emit received(bytes, bytesBaud);
    if (m_readNotifier)
        m_readNotifier->setEnabled(true);
}

void PtyLink::send(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    const qsizetype room = maxPending - (m_pending.size() - m_sent);
    if (bytes.size() > room && !m_droppedReported) {
        std::fputs("ferrox-board: the PC is not reading; stream bytes are being dropped\n", stderr);
        m_droppedReported = true;
    }
    m_pending.append(bytes.constData(), std::min(room, bytes.size()));
    writePending();
}

void PtyLink::writePending()
{
    while (m_sent < m_pending.size()) {
        const ssize_t n = ::write(m_master, m_pending.constData() + m_sent, m_pending.size() - m_sent);
        if (n > 0)
            m_sent += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break; // the slave's input queue is full: wait until it has room
    }
    // The pty takes a few KiB per write; dropping the sent part each time
    // would copy a long backlog over and over.
    if (m_sent == m_pending.size()) {
        m_pending.clear();
        m_sent = 0;
        m_droppedReported = false;
    } else if (m_sent > 64 * 1024) {
        m_pending.remove(0, m_sent);
        m_sent = 0;
    }
    m_writeNotifier->setEnabled(!m_pending.isEmpty());
}

void PtyLink::hangUp()
{
    m_transit.stop();
    delete m_readNotifier;
    delete m_writeNotifier;
    m_readNotifier = m_writeNotifier = nullptr;
    m_pending.clear();
    m_sent = 0;
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveKeeper = m_master = -1;
}

} // namespace ferrox
