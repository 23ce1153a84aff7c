#include "instancehandoff.h"

#include "files/filenamebytes.h"
#include "platform/process.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

namespace ferrox {

namespace {

constexpr char Tag[] = "ferrox-open\n";
constexpr qsizetype TagSize = sizeof(Tag) - 1;
constexpr char AnswerTag[] = "ferrox-front\n";
constexpr qsizetype LengthSize = 4;
// Far above any path the system opens (PATH_MAX is 4096).
constexpr quint32 MaxPathBytes = 64 * 1024;
constexpr int RetryMs = 100;
// A connection that does not deliver its message by then is dropped.
constexpr int ServerGiveUpMs = 2000;

} // namespace

QString handoffSocketPath()
{
    return QDir(SingleInstance::runtimeFolder()).filePath(QStringLiteral("ferrox.socket"));
}

QByteArray handoffMessage(const QString &file)
{
    const QByteArray path = encodeFileName(file);
    QByteArray message(Tag, TagSize);
    message.resize(TagSize + LengthSize);
    qToBigEndian(quint32(path.size()), message.data() + TagSize);
    return message + path;
}

QByteArray handoffAnswer(const RunningWindow &window)
{
    return AnswerTag + QByteArray::number(window.pid) + '\t' + window.display.toUtf8() + '\n';
}

RunningWindow parseHandoffAnswer(const QByteArray &answer)
{
    if (!answer.startsWith(AnswerTag) || !answer.endsWith('\n'))
        return {};
    const QByteArray line = answer.sliced(qsizetype(sizeof(AnswerTag) - 1)).chopped(1);
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0)
        return {};
    bool ok = false;
    const qint64 pid = line.first(tab).toLongLong(&ok);
    if (!ok || pid <= 0)
        return {};
    return {pid, QString::fromUtf8(line.sliced(tab + 1))};
}

RunningWindow thisWindow()
{
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    return {QCoreApplication::applicationPid(), wayland.isEmpty() ? qEnvironmentVariable("DISPLAY") : wayland};
}

HandoffServer::HandoffServer(const QString &socketPath, const RunningWindow &window, QObject *parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_socketPath(socketPath), m_answer(handoffAnswer(window))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
            QTimer::singleShot(ServerGiveUpMs, socket, &QLocalSocket::abort);
        }
    });
}

bool HandoffServer::listen()
{
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

// The message stays in the socket until it is whole.
void HandoffServer::readMessage(QLocalSocket *socket)
{
    const QByteArray head = socket->peek(TagSize + LengthSize);
    if (!QByteArray(Tag, TagSize).startsWith(head.left(TagSize))) {
        socket->abort();
        return;
    }
    if (head.size() < TagSize + LengthSize)
        return;
    const quint32 length = qFromBigEndian<quint32>(head.constData() + TagSize);
    if (length > MaxPathBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < TagSize + LengthSize + qint64(length))
        return;
    socket->skip(TagSize + LengthSize);
    const QByteArray path = socket->read(length);
    socket->write(m_answer);
    socket->disconnectFromServer(); // once the answer has gone
    emit handedOver(decodeFileName(path));
}

void HandoffClient::send(const QString &socketPath, const QString &file, int waitMs)
{
    m_socketPath = socketPath;
    m_message = handoffMessage(file);
    m_waitMs = waitMs;
    m_clock.start();
    // A window that accepts but never reads does not keep this start.
    QTimer::singleShot(waitMs, this, [this] { finish(false); });
    connectOnce();
}

void HandoffClient::connectOnce()
{
    auto *socket = new QLocalSocket(this);
    connect(socket, &QLocalSocket::connected, this, [this, socket] { socket->write(m_message); });
    // Sent, the message is delivered; the window's answer and its close follow.
    connect(socket, &QLocalSocket::bytesWritten, this, [this, socket] {
        if (socket->bytesToWrite() == 0)
            m_sent = true;
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        m_answer += socket->readAll();
        if (m_answer.size() > 4096) // no window of ours says that much
            socket->abort();
    });
    connect(socket, &QLocalSocket::disconnected, this, [this] { finish(m_sent); });
    connect(socket, &QLocalSocket::errorOccurred, this, [this, socket](QLocalSocket::LocalSocketError error) {
        const bool notListening = error == QLocalSocket::ServerNotFoundError
            || error == QLocalSocket::ConnectionRefusedError;
        if (!notListening) {
            finish(m_sent); // the window closing its end once it has read is no failure
            return;
        }
        socket->deleteLater();
        if (m_clock.elapsed() + RetryMs > m_waitMs)
            finish(false);
        else
            QTimer::singleShot(RetryMs, this, &HandoffClient::connectOnce);
    });
    socket->connectToServer(m_socketPath);
}

void HandoffClient::finish(bool delivered)
{
    if (m_done)
        return;
    m_done = true;
    emit finished(delivered, parseHandoffAnswer(m_answer));
}

} // namespace ferrox
