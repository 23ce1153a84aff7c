#include "boardprocess.h"

#include <QDeadlineTimer>
#include <QThread>

#include <fcntl.h>
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
    QThread::msleep(100);
    ::tcflush(fd, TCIFLUSH);
    QThread::msleep(quietMs);
    int waiting = -1;
    ::ioctl(fd, FIONREAD, &waiting);
    ::close(fd);
    return waiting == 0;
}

} // namespace ferrox::test
