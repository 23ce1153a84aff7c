#include "app/startup.h"
#include "support/fakedialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

TEST(TempFolder, IsMadeSilentlyOrReportedWithAStopIcon)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    const QString nested = dir.filePath(QStringLiteral("a/b/temp"));
    EXPECT_TRUE(ensureTempFolder(dialogs, nested));
    EXPECT_TRUE(ensureTempFolder(dialogs, nested));
    EXPECT_TRUE(QDir(nested).exists());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString folder = blocker.fileName() + QStringLiteral("/temp");
    EXPECT_FALSE(ensureTempFolder(dialogs, folder));
    ASSERT_EQ(dialogs.messages.size(), 1);
    const FakeDialogs::Message &box = dialogs.messages.constFirst();
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.title, QStringLiteral("ﾃﾝﾌﾟﾌｫﾙﾀﾞ作成失敗"));
    EXPECT_EQ(box.text, QStringLiteral("ﾃﾝﾎﾟﾗﾘﾌｫﾙﾀﾞｰの作成に失敗しました。\r") + folder
                            + QStringLiteral("　を、\r予め作成し再度ソフトウエアを起動してください。"));
}
