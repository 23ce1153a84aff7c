#include "platform/localsocket.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

using namespace ferrox;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat info{};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode;
}

} // namespace

TEST(LocalServer, ItsSocketIsTheUsersAloneAndRemovedOnlyWhileItIsOurs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s"));
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly)); // a crashed program's leftover
    stale.close();

    LocalServer server;
    ASSERT_TRUE(server.listen(path));
    EXPECT_TRUE(S_ISSOCK(modeOf(path)));
    EXPECT_EQ(modeOf(path) & 0777, S_IRWXU);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList{QStringLiteral("s")});
    server.close();
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_TRUE(server.listen(path));
    LocalServer later; // another program's, in its place
    ASSERT_TRUE(later.listen(path));
    server.close();
    EXPECT_TRUE(S_ISSOCK(modeOf(path)));
}

TEST(LocalSocket, APeerThatWentAwayIsAClosedConnectionNotTheEndOfTheProgram)
{
    const auto earlier = std::signal(SIGPIPE, SIG_DFL); // as the window has it
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s"));
    int error = 0;
    EXPECT_EQ(LocalSocket::connectTo(path, error), nullptr);
    EXPECT_EQ(error, ENOENT);

    LocalServer server;
    ASSERT_TRUE(server.listen(path));
    int closed = 0;
    QObject::connect(&server, &LocalServer::newConnection, [&closed](LocalSocket *socket) {
        QObject::connect(socket, &LocalSocket::closed, [&closed] { ++closed; });
        socket->write(QByteArray(1000, 'a'));
    });
    delete LocalSocket::connectTo(path, error); // gone before it is accepted
    EXPECT_TRUE(QTest::qWaitFor([&closed] { return closed == 1; }, 3000));
    std::signal(SIGPIPE, earlier);
}
