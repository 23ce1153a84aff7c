// The settings panel's link choices: what each does on the link and what
// the user is told.
#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "linktesting.h"
#include "support/fakedialogs.h"
#include "support/inprocessboard.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class Choices : public testing::Test
{
protected:
    InProcessBoard board; // a V1.05 board behind a 57600-baud jumper
    FakeLinkPanel panel;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    LinkOwner owner{board.port()};
    ConnectionCheck check{owner, panel, dialogs, ProgramSettings(store)};
    LinkChoices choices{check, owner, panel, dialogs};

    bool waitForCheck()
    {
        bool finished = false;
        QObject::connect(&check, &ConnectionCheck::checkFinished, [&] { finished = true; });
        return QTest::qWaitFor([&] { return finished; }, 4000);
    }
};

TEST_F(Choices, PortCheckButtonClearsTheStatusThenChecksOnce)
{
    ReportStatus(panel.status, 1, QStringLiteral("50%"), 50);
    panel.status.texts.clear();
    choices.Cmd_Port_Check_Click();
    // A second press while the check waits does nothing at all.
    choices.Cmd_Port_Check_Click();
    EXPECT_EQ(panel.status.texts, QStringList{QString()});
    ASSERT_TRUE(waitForCheck());
    QTest::qWait(50);
    ASSERT_EQ(panel.status.texts.size(), 4);
    EXPECT_TRUE(panel.status.texts[1].endsWith(QStringLiteral("  COM1:通信確認ＯＫ。")));
    EXPECT_TRUE(check.results().BoardVerified);
    EXPECT_EQ(board.port().written, QByteArray("V"));
}

TEST_F(Choices, TheSimpleMonitorIsClosedAfterACheckAndRestartedOnMonitorChoices)
{
    choices.monitorChoiceMade(); // no simple monitor yet: nothing to do
    int closed = 0;
    int restarted = 0;
    bool verifiedWhenClosed = false;
    choices.setSimpleMonitorHooks([&] { ++closed, verifiedWhenClosed = check.results().BoardVerified; },
                                  [&] { ++restarted; });
    choices.Cmd_Port_Check_Click();
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(closed, 0);

    panel.simpleMonitor = true;
    choices.Cmd_Port_Check_Click();
    EXPECT_EQ(closed, 0);
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(verifiedWhenClosed);

    choices.monitorChoiceMade();
    EXPECT_EQ(restarted, 1);
}

TEST_F(Choices, LinkSpeedGoesToThePortAndAsksForTheJumper)
{
    board.port().open();
    board.port().operations.clear();
    panel.linkSpeed = QStringLiteral("115200");
    choices.Combo_PC_speed_Click();
    EXPECT_EQ(board.port().operations, QStringList{QStringLiteral("settings 115200,n,8,1")});
    EXPECT_TRUE(board.port().written.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].title, QString());
    const QStringList lines = dialogs.messages[0].text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10); // nine lines, each ended by CR LF
    EXPECT_EQ(lines[0], QStringLiteral("*** PC通信スピード変更 ***"));
    EXPECT_EQ(lines[6], QStringLiteral("ジャンパー変更後、「通信確認」ボタンを押してください。"));

    // The board keeps its jumper: the next check meets silence.
    choices.Cmd_Port_Check_Click();
    ASSERT_TRUE(waitForCheck());
    EXPECT_TRUE(check.results().LinkFailed);
}

TEST_F(Choices, LinkSpeedChosenWhileACheckWaitsReachesThePortAfterIt)
{
    choices.Cmd_Port_Check_Click();
    panel.linkSpeed = QStringLiteral("115200");
    choices.Combo_PC_speed_Click();
    ASSERT_TRUE(waitForCheck());
    const QStringList &log = board.port().operations;
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.last().startsWith(QLatin1String("settings 115")); }, 1000));
    // The check ran at the old speed and was answered.
    EXPECT_TRUE(check.results().BoardVerified);
    const qsizetype read = log.indexOf(QStringLiteral("read 22"));
    EXPECT_GT(read, 0);
    EXPECT_EQ(log.indexOf(QStringLiteral("settings 115200,n,8,1")), read + 1);
}

} // namespace
