#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

namespace ferrox {

class LocalServer;
class LocalSocket;

// A later start of the window program hands its command line's file (an
// absolute path, or nothing) to the running window over a local socket in
// the runtime folder, then ends. One message a connection: the tag
// "ferrox-open", a line feed, the path's length in bytes (four bytes, most
// significant first) and the path's bytes as the file system has them
// (UTF-8 or not), so that any path, line feeds included, arrives whole;
// anything else is dropped unread. The window answers with the tag
// "ferrox-front", a line feed, its process number, a tab and its display,
// a line feed, so that the later start can say which window came forward.

// The running window that took a later start's file.
struct RunningWindow
{
    qint64 pid = 0;   // 0: the window did not say (one of an older version)
    QString display;  // as its DISPLAY or WAYLAND_DISPLAY names it
    bool operator==(const RunningWindow &) const = default;
};

// The socket the running window listens on.
QString handoffSocketPath();

// The message for a file.
QByteArray handoffMessage(const QString &file);

// The window's answer, and what a later start reads from it (a window that
// did not answer, or answered something else, reads as pid 0).
QByteArray handoffAnswer(const RunningWindow &window);
RunningWindow parseHandoffAnswer(const QByteArray &answer);

// This process as a running window: its process number and display.
RunningWindow thisWindow();

// The running window's side.
class HandoffServer : public QObject
{
    Q_OBJECT

public:
    // window: how the server names itself to later starts.
    HandoffServer(const QString &socketPath, const RunningWindow &window, QObject *parent = nullptr);
    // Listens, replacing a socket a crashed window left (only the holder of
    // the single-instance lock calls this). False when it cannot.
    bool listen();

signals:
    // A later start asked for the front; file is empty when it named none.
    void handedOver(const QString &file);

private:
    void readMessage(LocalSocket *socket);

    LocalServer *m_server;
    QString m_socketPath;
    QByteArray m_answer;
};

// The later start's side. A window that is still starting (two starts at
// the same instant) is not listening yet: the connection is tried again
// until waitMs have passed. finished() tells whether the message was
// delivered, and the window that took it.
class HandoffClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultWaitMs = 5000;

    using QObject::QObject;
    void send(const QString &socketPath, const QString &file, int waitMs = DefaultWaitMs);

signals:
    void finished(bool delivered, const ferrox::RunningWindow &window);

private:
    void connectOnce();
    void finish(bool delivered);

    QString m_socketPath;
    QByteArray m_message;
    QByteArray m_answer;
    int m_waitMs = DefaultWaitMs;
    QElapsedTimer m_clock;
    bool m_sent = false;
    bool m_done = false;
};

} // namespace ferrox
