// The program's start: one window for every start (a later start hands its
// file to the running window over the runtime folder's socket), the command
// line of ferrox, the temporary folder.
#include "app/base/instancehandoff.h"
#include "app/startup.h"
#include "app/ui/desktopstart.h"
#include "files/filenamebytes.h"
#include "support/fakedialogs.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocalSocket>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// Sends as a later start does; the result is whether the message was
// delivered, or nothing when the client never finished.
std::optional<bool> send(const QString &socket, const QString &file)
{
    HandoffClient client;
    std::optional<bool> delivered;
    QObject::connect(&client, &HandoffClient::finished, [&delivered](bool ok) { delivered = ok; });
    client.send(socket, file, HandoffClient::DefaultWaitMs);
    if (!QTest::qWaitFor([&delivered] { return delivered.has_value(); }, HandoffClient::DefaultWaitMs + 3000))
        return std::nullopt;
    return delivered;
}

class Handoff : public testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&server, &HandoffServer::handedOver, [this](const QString &file) { received << file; });
    }

    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("ferrox.socket"));
    const RunningWindow window{4242, QStringLiteral(":7")};
    HandoffServer server{socket, window};
    QStringList received;
};

TEST_F(Handoff, ALaterStartHandsItsFileWholeToTheRunningWindow)
{
    // A socket file left by a crashed window is replaced.
    writeFile(socket, {});
    ASSERT_TRUE(server.listen());
    const QStringList files{QStringLiteral("/home/user/ログ 1.dat"), QString(), QStringLiteral("/tmp/a\n/etc/passwd"),
                            decodeFileName("/tmp/\x83\x8D\x83\x4F.dat")}; // a Shift-JIS name
    for (const QString &file : files)
        EXPECT_EQ(send(socket, file), true) << file.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == files.size(); }, 3000));
    EXPECT_EQ(received, files);
}

TEST(HandoffAnswer, AnythingButAWholeAnswerNamesNoWindow)
{
    for (const QByteArray &answer : {QByteArray(), QByteArray("ferrox-front\n12"), QByteArray("ferrox-front\nx\t:0\n"),
                                     QByteArray("other\n12\t:0\n")})
        EXPECT_EQ(parseHandoffAnswer(answer).pid, 0) << answer.toStdString();
}

TEST_F(Handoff, AStartAtTheSameInstantWaitsForTheWindowToListen)
{
    QTimer::singleShot(300, [this] { server.listen(); });
    EXPECT_EQ(send(socket, QStringLiteral("/x.dat")), true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received == QStringList{QStringLiteral("/x.dat")}; }, 3000));
}

TEST_F(Handoff, MalformedMessagesAreIgnored)
{
    ASSERT_TRUE(server.listen());
    QByteArray oversized = handoffMessage(QString());
    oversized[oversized.size() - 4] = 0x7F; // the length's first byte: far beyond any path
    for (const QByteArray &message : {QByteArray("/etc/passwd\n"), oversized}) {
        QLocalSocket raw;
        raw.connectToServer(socket);
        ASSERT_TRUE(QTest::qWaitFor([&raw] { return raw.state() == QLocalSocket::ConnectedState; }, 3000));
        raw.write(message);
        EXPECT_TRUE(QTest::qWaitFor([&raw] { return raw.state() == QLocalSocket::UnconnectedState; }, 3000))
            << message.toStdString();
    }
    EXPECT_EQ(received, QStringList());
}

// The toolkit's own buttons speak the program's language when the locale
// has no translation (the tests run in the C locale).
TEST(Desktop, ToolkitTextsAreJapaneseWithoutALocaleOfTheirOwn)
{
    QLocale::setDefault(QLocale::c());
    prepareDesktop(*qApp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    setProgramIcon();
    EXPECT_FALSE(QApplication::windowIcon().availableSizes().isEmpty());
}

TEST(WindowCommandLine, AnUnknownOptionEndsTheStartAsAUsageError)
{
    const WindowCommandLine line = parseWindowCommandLine({QStringLiteral("ferrox"), QStringLiteral("--bogus")});
    EXPECT_TRUE(line.leave);
    EXPECT_EQ(line.status, 2);
    EXPECT_EQ(line.file, QString());
}

// A file is opened by its absolute path, which keeps the bytes of its name.
TEST(WindowCommandLine, AFileNameThatIsNotUtf8KeepsItsBytes)
{
    const QByteArray name("\x83\x8D\x83\x4F.dat");
    const WindowCommandLine line = parseWindowCommandLine({QStringLiteral("ferrox"), decodeFileName(name)});
    EXPECT_FALSE(line.leave);
    EXPECT_EQ(encodeFileName(line.file), encodeFileName(QDir::currentPath()) + '/' + name);
}

TEST(TempFolder, IsMadeSilentlyOrReportedWithAStopIcon)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    const QString nested = dir.filePath(QStringLiteral("a/b/temp"));
    EXPECT_TRUE(ensureTempFolder(dialogs, nested));
    EXPECT_TRUE(ensureTempFolder(dialogs, nested)); // already there
    EXPECT_TRUE(QDir(nested).exists());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QString folder = writeFile(dir.filePath(QStringLiteral("file")), {}) + QStringLiteral("/temp");
    EXPECT_FALSE(ensureTempFolder(dialogs, folder));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.messages[0].text.contains(folder));
}

} // namespace
