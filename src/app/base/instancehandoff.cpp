#include "instancehandoff.h"

#include "files/filenamebytes.h"
#include "platform/localsocket.h"
#include "platform/process.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QtEndian>

#include <cerrno>

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
    : QObject(parent), m_server(new LocalServer(this)), m_socketPath(socketPath), m_answer(handoffAnswer(window))
{
    connect(m_server, &LocalServer::newConnection, this, [this](LocalSocket *socket) {
        connect(socket, &LocalSocket::closed, socket, &QObject::deleteLater);
        connect(socket, &LocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        QTimer::singleShot(ServerGiveUpMs, socket, &LocalSocket::abort);
    });
}

bool HandoffServer::listen()
{
    return m_server->listen(m_socketPath);
}

// The message is gathered until it is whole.
void HandoffServer::readMessage(LocalSocket *socket)
{
    const QByteArray &head = socket->received();
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
    if (head.size() < TagSize + LengthSize + qsizetype(length))
        return;
    const QByteArray path = head.sliced(TagSize + LengthSize, length);
    disconnect(socket, &LocalSocket::readyRead, this, nullptr); // one message a connection
    socket->write(m_answer);
    socket->closeAfterWriting();
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
    int error = 0;
    LocalSocket *socket = LocalSocket::connectTo(m_socketPath, error, this);
    if (!socket) {
        const bool notListening = error == ENOENT || error == ECONNREFUSED || error == EAGAIN;
        if (!notListening || m_clock.elapsed() + RetryMs > m_waitMs)
            finish(false);
        else
            QTimer::singleShot(RetryMs, this, &HandoffClient::connectOnce);
        return;
    }
    // Sent, the message is delivered; the window's answer and its close follow.
    connect(socket, &LocalSocket::allWritten, this, [this] { m_sent = true; });
    connect(socket, &LocalSocket::readyRead, this, [this, socket] {
        m_answer += socket->take(socket->received().size());
        if (m_answer.size() > 4096) // no window of ours says that much
            socket->abort();
    });
    // The window closing its end once it has read is no failure.
    connect(socket, &LocalSocket::closed, this, [this] { finish(m_sent); });
    socket->write(m_message);
}

void HandoffClient::finish(bool delivered)
{
    if (m_done)
        return;
    m_done = true;
    emit finished(delivered, parseHandoffAnswer(m_answer));
}

} // namespace ferrox
