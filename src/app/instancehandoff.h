#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace ferrox {

// A later start of the window program hands its command line's file (an
// absolute path, or nothing) to the running window over a local socket in
// the runtime folder, then ends without a word. One message: the path in
// UTF-8 and a line feed.

// The socket the running window listens on.
QString handoffSocketPath();

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
    QLocalServer *m_server;
    QString m_socketPath;
};

// The later start's side: sends the message and emits finished() once it
// is delivered, refused or two seconds have passed.
class HandoffClient : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    void send(const QString &socketPath, const QString &file);

signals:
    void finished();
};

} // namespace ferrox
