#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace ferrox {

// A later start of the window program hands its command line's file (an
// absolute path, or nothing) to the running window over a local socket in
// the runtime folder, then ends without a word. One message a connection:
// the tag "ferrox-open", a line feed, the path's length in bytes (four
// bytes, most significant first) and the path's bytes as the file system
// has them (UTF-8 or not), so that any path, line feeds included, arrives
// whole; anything else is dropped unread.

// The socket the running window listens on.
QString handoffSocketPath();

// The message for a file.
QByteArray handoffMessage(const QString &file);

// The running window's side.
class HandoffServer : public QObject
{
    Q_OBJECT

public:
    explicit HandoffServer(const QString &socketPath, QObject *parent = nullptr);
    // Listens, replacing a socket a crashed window left (only the holder of
    // the single-instance lock calls this). False when it cannot.
    bool listen();

signals:
    // A later start asked for the front; file is empty when it named none.
    void handedOver(const QString &file);

private:
    void readMessage(QLocalSocket *socket);

    QLocalServer *m_server;
    QString m_socketPath;
};

// The later start's side. A window that is still starting (two starts at
// the same instant) is not listening yet: the connection is tried again
// until waitMs have passed. finished() tells whether the message was
// delivered.
class HandoffClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultWaitMs = 5000;

    using QObject::QObject;
    void send(const QString &socketPath, const QString &file, int waitMs = DefaultWaitMs);

signals:
    void finished(bool delivered);

private:
    void connectOnce();
    void finish(bool delivered);

    QString m_socketPath;
    QByteArray m_message;
    int m_waitMs = DefaultWaitMs;
    QElapsedTimer m_clock;
    bool m_sent = false;
    bool m_done = false;
};

} // namespace ferrox
