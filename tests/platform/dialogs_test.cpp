#include "platform/dialogs.h"

#include <gtest/gtest.h>

using namespace ferrox;

TEST(Dialogs, ProgramFiltersBecomeQtFiltersAndUntitledMessagesTakeTheProgramName)
{
    EXPECT_EQ(qtFileFilter(QStringLiteral("モニタデータファイル(*.dat)|*.dat|すべてのファイル|*.*|")),
              QStringLiteral("モニタデータファイル(*.dat);;すべてのファイル (*.*)"));
    EXPECT_EQ(qtFileFilter(QStringLiteral("ログ(*.txt)|*.txt;*.log|")), QStringLiteral("ログ(*.txt) (*.txt *.log)"));
    EXPECT_EQ(qtFileFilter(QString()), QString());
    EXPECT_EQ(messageTitle(QString()), QStringLiteral("ferrox"));
    EXPECT_EQ(messageTitle(QStringLiteral("通信ポート")), QStringLiteral("通信ポート"));
    EXPECT_EQ(messageTitle(BlankCaption), QString());
}
