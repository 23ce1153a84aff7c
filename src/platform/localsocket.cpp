#include "localsocket.h"

#include "files/filenamebytes.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace ferrox {

namespace {

// Read at most this much a wake-up: a peer that floods cannot make the
// receiver's buffer grow faster than its handler looks at it.
constexpr qsizetype ReadChunk = 64 * 1024;
// A listener that cannot accept (no descriptor left) tries again after this
// rather than being woken over and over.
constexpr int AcceptPauseMs = 1000;
constexpr int Backlog = 30;

// False when the name does not fit a socket address.
bool socketAddress(const QByteArray &name, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || std::size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

} // namespace

LocalSocket *LocalSocket::connectTo(const QString &path, int &error, QObject *parent)
{
    sockaddr_un address;
    if (!socketAddress(encodeFileName(path), address)) {
        error = ENAMETOOLONG;
        return nullptr;
    }
    const int fd = newSocket();
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    // A Unix-domain connection is made at once or refused at once.
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return new LocalSocket(fd, parent);
}

LocalSocket::LocalSocket(int fd, QObject *parent)
    : QObject(parent),
      m_fd(fd),
      m_readNotifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)),
      m_writeNotifier(new QSocketNotifier(fd, QSocketNotifier::Write, this))
{
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &LocalSocket::readAvailable);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &LocalSocket::writeQueued);
}

LocalSocket::~LocalSocket()
{
    if (m_fd >= 0) {
        m_readNotifier->setEnabled(false);
        m_writeNotifier->setEnabled(false);
        ::close(m_fd);
    }
}

QByteArray LocalSocket::take(qsizetype count)
{
    const QByteArray taken = m_received.first(qMin(count, m_received.size()));
    m_received.remove(0, taken.size());
    return taken;
}

void LocalSocket::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return;
    m_queued += bytes;
    writeQueued();
}

void LocalSocket::closeAfterWriting()
{
    m_closeWhenWritten = true;
    if (m_queued.isEmpty())
        abort();
}

void LocalSocket::abort()
{
    if (m_fd < 0)
        return;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
    m_queued.clear();
    emit closed();
}

void LocalSocket::readAvailable()
{
    const qsizetype before = m_received.size();
    m_received.resize(before + ReadChunk);
    ssize_t count;
    do
        count = ::recv(m_fd, m_received.data() + before, ReadChunk, 0);
    while (count < 0 && errno == EINTR);
    const int error = count < 0 ? errno : 0;
    m_received.resize(before + qMax<qsizetype>(count, 0));
    if (count > 0)
        emit readyRead();
    else if (count == 0 || (error != EAGAIN && error != EWOULDBLOCK))
        abort(); // the other end closed, or the connection broke
}

void LocalSocket::writeQueued()
{
    while (!m_queued.isEmpty()) {
        // A reader that has gone is an error here, not the end of the program.
        const ssize_t count = ::send(m_fd, m_queued.constData(), std::size_t(m_queued.size()), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_writeNotifier->setEnabled(true);
            return;
        }
        if (count < 0) {
            abort();
            return;
        }
        m_queued.remove(0, count);
    }
    m_writeNotifier->setEnabled(false);
    emit allWritten();
    if (m_closeWhenWritten)
        abort();
}

LocalServer::~LocalServer()
{
    close();
}

bool LocalServer::listen(const QString &path)
{
    close();
    const QByteArray name = encodeFileName(path);
    // Bound in a private folder beside its place, made the user's alone,
    // then moved into place (replacing a stale socket): no one else can
    // open it, not even for an instant before its permissions are set.
    QByteArray folder = name + ".XXXXXX";
    sockaddr_un address;
    if (!socketAddress(folder + "/s", address) || !::mkdtemp(folder.data()))
        return false;
    const QByteArray bound = folder + "/s";
    socketAddress(bound, address);
    const int fd = newSocket();
    const bool listening = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
        && ::chmod(bound.constData(), S_IRWXU) == 0 && ::listen(fd, Backlog) == 0
        && ::rename(bound.constData(), name.constData()) == 0;
    struct stat placed{};
    if (listening)
        ::stat(name.constData(), &placed);
    else
        ::unlink(bound.constData());
    ::rmdir(folder.constData());
    if (!listening) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = name;
    m_device = placed.st_dev;
    m_inode = placed.st_ino;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalServer::acceptPending);
    return true;
}

void LocalServer::close()
{
    if (m_fd < 0)
        return;
    m_notifier->setEnabled(false);
    m_notifier->deleteLater(); // close() may run inside its signal
    m_notifier = nullptr;
    ::close(std::exchange(m_fd, -1));
    struct stat there{};
    if (::stat(m_path.constData(), &there) == 0 && there.st_dev == m_device && there.st_ino == m_inode)
        ::unlink(m_path.constData());
}

void LocalServer::acceptPending()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            emit newConnection(new LocalSocket(fd, this));
            if (m_fd < 0)
                return; // closed by a receiver
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_notifier->setEnabled(false);
            QTimer::singleShot(AcceptPauseMs, m_notifier, [notifier = m_notifier] { notifier->setEnabled(true); });
        }
        return;
    }
}

} // namespace ferrox
