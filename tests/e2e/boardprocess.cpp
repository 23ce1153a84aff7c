#include "boardprocess.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace ferrox::test {

QString BoardProcess::binary()
{
    return QStringLiteral(FERROX_BOARD_BINARY);
}

BoardProcess::BoardProcess(const QStringList &options)
    : m_linkPath(m_dir.filePath(QStringLiteral("com1"))), m_options(options)
{
}

BoardProcess::BoardProcess(const QString &linkPath, const QStringList &options)
    : m_linkPath(linkPath), m_options(options)
{
}

BoardProcess::~BoardProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool BoardProcess::start()
{
    m_process.start(binary(), QStringList{QStringLiteral("--link"), m_linkPath} + m_options);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
    }
    if (m_process.canReadLine()) {
        m_slavePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return true;
    }
    m_process.waitForFinished(3000);
    m_errors = QString::fromLocal8Bit(m_process.readAllStandardError());
    m_lacksPty = m_errors.contains(QLatin1String("pseudo-terminal"));
    return false;
}

bool BoardProcess::waitUntilHeard(char command, int timeoutMs)
{
    const QByteArray line = QByteArrayLiteral("heard ") + command + '\n';
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (m_process.canReadLine()) {
            if (m_process.readLine() == line)
                return true;
        }
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
}

bool BoardProcess::isQuiet(int quietMs) const
{
    const int fd = ::open(m_linkPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios tio {};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    // What was under way when the program let go (the rest of a flood the
    // board had queued) still comes, however late a loaded machine lets the
    // board write it: it is read and dropped until the line has been quiet
    // for quietMs, which a board that streams on never is. The deadline is
    // a safety net only.
    bool quiet = false;
    const QDeadlineTimer deadline(20000);
    while (!quiet && !deadline.hasExpired()) {
        pollfd waiting {fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, quietMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            break;
        quiet = ready == 0;
        char dropped[4096];
        if (!quiet && ::read(fd, dropped, sizeof dropped) <= 0 && errno != EAGAIN)
            break;
    }
    ::close(fd);
    return quiet;
}

} // namespace ferrox::test
