#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace ferrox {

// Unix-domain stream sockets on the event loop: non-blocking, read and
// written as the socket notifiers say they can be, never waited on. The
// window's single-instance handoff is their one user; the toolkit's network
// library (and the Kerberos and TLS libraries it loads) would cost every
// start of the window for these few bytes.

// One connected socket; it owns its descriptor.
class LocalSocket : public QObject
{
    Q_OBJECT

public:
    // Connects to the socket at path. nullptr when that fails; error then
    // holds the errno (ENOENT: no socket there, ECONNREFUSED: no one
    // listens on it, EAGAIN: its listener has a full queue).
    static LocalSocket *connectTo(const QString &path, int &error, QObject *parent = nullptr);

    explicit LocalSocket(int fd, QObject *parent = nullptr);
    ~LocalSocket() override;

    // The bytes received and not yet taken.
    const QByteArray &received() const { return m_received; }
    QByteArray take(qsizetype count);

    // Queued and sent as the socket takes them; allWritten() follows.
    void write(const QByteArray &bytes);
    // Closes once everything queued has gone.
    void closeAfterWriting();
    // Closes at once, dropping what is queued.
    void abort();
    bool isOpen() const { return m_fd >= 0; }

signals:
    void readyRead();
    void allWritten();
    // The other end closed, the connection failed, or this end closed.
    // Emitted once.
    void closed();

private:
    void readAvailable();
    void writeQueued();

    int m_fd;
    QSocketNotifier *m_readNotifier;
    QSocketNotifier *m_writeNotifier;
    QByteArray m_received;
    QByteArray m_queued;
    bool m_closeWhenWritten = false;
};

// A listening socket whose file only its user may open.
class LocalServer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~LocalServer() override;

    // Listens at path, replacing whatever file is there (a socket a crashed
    // program left). False when it cannot.
    bool listen(const QString &path);
    // Stops listening and removes the socket file, unless another program
    // has put its own there since.
    void close();

signals:
    // A new connection, owned by the server until it is reparented.
    void newConnection(ferrox::LocalSocket *socket);

private:
    void acceptPending();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_path;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

} // namespace ferrox
