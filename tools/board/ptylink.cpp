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

bool PtyLink::open(int jumperBaud, QString &error)
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
    // At the jumper's speed until a program sets its own. A program's port
    // puts back the settings it found when it closes, so its last command
    // (the stop of `monitor | head`) may be read here only after that; it
    // left at the program's speed, which the board heard, as on a real line.
    cfsetspeed(&tio, codeOf(jumperBaud));
    tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    m_slavePath = QString::fromLocal8Bit(slave);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyLink::readMaster);
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
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break; // drained (EAGAIN)
    }
    if (!bytes.isEmpty())
        emit received(bytes, linkBaud());
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
