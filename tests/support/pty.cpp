#include "pty.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace ferrox::test {

Pty::Pty()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    m_slaveKeeper = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    termios tio {};
    if (m_slaveKeeper >= 0 && tcgetattr(m_slaveKeeper, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    }
}

Pty::~Pty()
{
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    if (m_master >= 0)
        ::close(m_master);
}

bool Pty::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (n > 0)
            done += n;
        else
            poll(nullptr, 0, 1);
    }
    return true;
}

QByteArray Pty::read(int atLeast, int timeoutMs)
{
    QByteArray result;
    QElapsedTimer clock;
    clock.start();
    while (result.size() < atLeast && clock.elapsed() < timeoutMs) {
        pollfd fd {m_master, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(timeoutMs - clock.elapsed())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            result.append(buffer, n);
    }
    return result;
}

} // namespace ferrox::test
