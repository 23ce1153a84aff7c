#include "instancehandoff.h"

#include "platform/process.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace ferrox {

namespace {
constexpr int GiveUpMs = 2000;
} // namespace

QString handoffSocketPath()
{
    return QDir(SingleInstance::runtimeFolder()).filePath(QStringLiteral("ferrox.socket"));
}

HandoffServer::HandoffServer(const QString &socketPath, QObject *parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_socketPath(socketPath)
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine().chopped(1);
                socket->disconnectFromServer();
                emit handedOver(QString::fromUtf8(line));
            });
        }
    });
}

bool HandoffServer::listen()
{
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

void HandoffClient::send(const QString &socketPath, const QString &file)
{
    auto *socket = new QLocalSocket(this);
    const QByteArray message = file.toUtf8() + '\n';
    connect(socket, &QLocalSocket::connected, this, [socket, message] { socket->write(message); });
    connect(socket, &QLocalSocket::bytesWritten, this, [socket] {
        if (socket->bytesToWrite() == 0)
            socket->disconnectFromServer();
    });
    connect(socket, &QLocalSocket::disconnected, this, &HandoffClient::finished);
    connect(socket, &QLocalSocket::errorOccurred, this, &HandoffClient::finished);
    QTimer::singleShot(GiveUpMs, this, &HandoffClient::finished);
    socket->connectToServer(socketPath);
}

} // namespace ferrox
