#include "liveoutput.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ferrox {

namespace {

// A descriptor of our own on the same pipe or terminal, non-blocking; -1
// where that cannot be had (a socket, a regular file).
int nonBlockingCopy(int fd)
{
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !(S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)))
        return -1;
    const QByteArray path = "/proc/self/fd/" + QByteArray::number(fd);
    return ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

} // namespace

LiveOutput::LiveOutput(int fd, QObject *parent) : QObject(parent), m_fd(fd)
{
    const int own = nonBlockingCopy(fd);
    if (own < 0)
        return;
    m_fd = own;
    m_ownsFd = true;
    m_notifier = new QSocketNotifier(own, QSocketNotifier::Write, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &LiveOutput::writeQueued);
}

LiveOutput::~LiveOutput()
{
    if (m_ownsFd)
        ::close(m_fd);
}

bool LiveOutput::write(const QByteArray &piece)
{
    if (m_closed)
        return false;
    if (m_queuedBytes + piece.size() > MaxQueuedBytes) {
        drop(piece.size());
        return false;
    }
    m_queue.push_back(piece);
    m_queuedBytes += piece.size();
    writeQueued();
    return !m_closed;
}

void LiveOutput::writeQueued()
{
    while (!m_queue.empty() && !m_closed) {
        const QByteArray &front = m_queue.front();
        const ssize_t written = ::write(m_fd, front.constData() + m_writtenOfFront,
                                        static_cast<size_t>(front.size() - m_writtenOfFront));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                if (m_notifier)
                    m_notifier->setEnabled(true);
                return;
            }
            close(errno);
            return;
        }
        m_writtenOfFront += written;
        if (m_writtenOfFront == front.size()) {
            m_queuedBytes -= front.size();
            m_queue.pop_front();
            m_writtenOfFront = 0;
        }
    }
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_finishing && (m_queue.empty() || m_closed)) {
        m_finishing = false;
        emit finished();
    }
}

void LiveOutput::drop(qint64 bytes)
{
    if (m_droppedBytes == 0)
        emit fellBehind();
    m_droppedBytes += bytes;
}

void LiveOutput::close(int error)
{
    m_closed = true;
    m_error = error;
    m_queue.clear();
    m_queuedBytes = 0;
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (error == EPIPE)
        emit closed();
    else
        emit failed(error);
    if (std::exchange(m_finishing, false))
        emit finished();
}

void LiveOutput::finish()
{
    m_finishing = true;
    QTimer::singleShot(FinishWaitMs, this, [this] {
        if (!std::exchange(m_finishing, false))
            return;
        // A reader that has not taken the rest by now is told it lost it.
        if (!m_queue.empty())
            drop(m_queuedBytes - m_writtenOfFront);
        emit finished();
    });
    writeQueued();
}

} // namespace ferrox
