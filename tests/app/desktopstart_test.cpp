// The program's start: one window for every start (a later start hands its
// file to the running window over the runtime folder's socket), the command
// line of ferrox, the temporary folder.
#include "app/instancehandoff.h"
#include "app/startup.h"
#include "app/ui/desktopstart.h"
#include "support/fakedialogs.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

bool sendAndFinish(const QString &socket, const QString &file)
{
    HandoffClient client;
    bool finished = false;
    QObject::connect(&client, &HandoffClient::finished, [&finished] { finished = true; });
    client.send(socket, file);
    return QTest::qWaitFor([&finished] { return finished; }, 5000);
}

TEST(Handoff, ALaterStartHandsItsFileToTheRunningWindow)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("ferrox.socket"));
    // A socket file left by a crashed window is replaced.
    writeFile(socket, {});

    HandoffServer server(socket);
    ASSERT_TRUE(server.listen());
    QStringList received;
    QObject::connect(&server, &HandoffServer::handedOver, [&received](const QString &file) { received << file; });
    const QStringList files{QStringLiteral("/home/user/ログ 1.dat"), QString()};
    for (const QString &file : files)
        ASSERT_TRUE(sendAndFinish(socket, file));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received == files; }, 3000));

    // With no window running a later start still ends.
    EXPECT_TRUE(sendAndFinish(dir.filePath(QStringLiteral("none.socket")), QStringLiteral("/x.dat")));
}

// The toolkit's own buttons speak the program's language when the locale
// has no translation (the tests run in the C locale).
TEST(Desktop, ToolkitTextsAreJapaneseWithoutALocaleOfTheirOwn)
{
    QLocale::setDefault(QLocale::c());
    prepareDesktop(*qApp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_FALSE(QApplication::windowIcon().availableSizes().isEmpty());
}

TEST(WindowCommandLine, AFileAtMostAndNoOtherOption)
{
    const QString file = QDir::current().absoluteFilePath(QStringLiteral("a.dat"));
    for (const auto &[argument, leave, status, opened] :
         {std::tuple{QStringLiteral("a.dat"), false, 0, file}, {QStringLiteral("--bogus"), true, 2, QString()}}) {
        const WindowCommandLine line = parseWindowCommandLine({QStringLiteral("ferrox"), argument});
        EXPECT_TRUE(line.leave == leave && line.status == status && line.file == opened) << argument.toStdString();
    }
}

TEST(TempFolder, IsMadeSilentlyOrReportedWithAStopIcon)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    const QString nested = dir.filePath(QStringLiteral("a/b/temp"));
    EXPECT_TRUE(ensureTempFolder(dialogs, nested) && ensureTempFolder(dialogs, nested) && QDir(nested).exists());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QString folder = writeFile(dir.filePath(QStringLiteral("file")), {}) + QStringLiteral("/temp");
    EXPECT_FALSE(ensureTempFolder(dialogs, folder));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.messages[0].text.contains(folder));
}

} // namespace
