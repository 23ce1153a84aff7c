// The connection check as the user sees it (status blinks, message boxes, the panel's lists, enables and
// sampling timer, the results) against a scripted board; the link choices around it.
#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "link/protocol.h"
#include "linktesting.h"
#include "support/fakedialogs.h"

#include <QSignalSpy>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// The check on the link to a scripted board, its port closed at first;
// the link choices beside it.
class Checks : public LinkFixture
{
protected:
    bool runCheck(ConnectionCheck::Origin origin = ConnectionCheck::Origin::UserAsked)
    {
        bool done = false;
        return check.check(origin, [&] { done = true; }) && QTest::qWaitFor([&] { return done; }, 4000);
    }
    const CheckResults &results() const { return panel.results; }

    // The text, a full-width blank, the text again, about a quarter second apart.
    void expectBlink(const QString &text)
    {
        ASSERT_EQ(panel.status.texts, (QStringList{text, QStringLiteral("　"), text}));
        EXPECT_GE(panel.status.times[1] - panel.status.times[0], 245);
        EXPECT_GE(panel.status.times[2] - panel.status.times[1], 245);
        EXPECT_FALSE(panel.status.progressVisible);
    }
    // The one message box: its icon, title, how many CR LF it holds and a part of it.
    void expectMessage(MessageIcon icon, const QString &title, qsizetype lineEnds, const QString &part)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        const auto &message = dialogs.messages[0];
        EXPECT_EQ(message.icon, icon);
        EXPECT_EQ(message.title, title);
        EXPECT_EQ(message.text.count(QStringLiteral("\r\n")), lineEnds);
        EXPECT_TRUE(message.text.contains(part)) << message.text.toStdString();
    }
    void expectFailedWithListsUntouched()
    {
        EXPECT_TRUE(results().LinkFailed);
        EXPECT_FALSE(results().BoardVerified);
        EXPECT_FALSE(panel.sampling);
        EXPECT_FALSE(panel.offered.has_value());
    }

    FakeLinkPanel panel;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    ConnectionCheck check{owner, panel, dialogs, ProgramSettings(store)};
    LinkChoices choices{check, owner, panel, dialogs};
};

// What the firmware offers is the protocol's table; the program gets
// exactly that.
TEST_F(Checks, AVerifiedBoardAdaptsThePanelToItsFirmware)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    panel.chosen.linkSpeed = 115200;
    panel.chosen.port = QStringLiteral("COM2");
    panel.chosen.rts = true;
    panel.results.LinkFailed = true; // the last check's verdict stands while the status blinks
    bool done = false;
    ASSERT_TRUE(check.check(ConnectionCheck::Origin::UserAsked, [&] { done = true; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.status.texts.isEmpty(); }, 4000));
    EXPECT_TRUE(results().LinkFailed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 4000));

    EXPECT_EQ(port.operations, ops("port 2|open 2|settings 115200,n,8,1|threshold 0|discard|rts 1|dtr 0|write 56|read 22"));
    // The reply's first 16 bytes and the port; the firmware's features below.
    expectBlink(QStringLiteral("Ferrox LM V1.05   COM2:通信確認ＯＫ。"));
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const FirmwareFeatures features = *firmwareFeatures(QStringLiteral("V1.05"), 115200);
    ASSERT_TRUE(panel.offered.has_value());
    EXPECT_EQ(panel.offered->monitorSpeeds, features.monitorSpeeds);
    EXPECT_EQ(panel.offered->directions, features.directions);
    EXPECT_EQ(panel.offered->rateMeasure, features.rateMeasure);
    EXPECT_EQ(panel.offered->dataWidth, features.dataWidth);
    // The features are offered after the blink; the sampling is switched
    // on before them.
    EXPECT_EQ(panel.events, ops("lines|timer on|features"));
}

TEST_F(Checks, UnsupportedFirmwareShowsItsMessageWithoutBlinking)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    panel.sampling = true;
    ASSERT_TRUE(runCheck());
    EXPECT_EQ(panel.status.texts, QStringList{QStringLiteral("ファームウエアバージョン ミスマッチ")});
    expectMessage(MessageIcon::Information, {}, 10, QStringLiteral("\r\n使用中のファームウエアバージョン　：　 V2.00\r\n"));
    expectFailedWithListsUntouched();
}

// Sampling stays off while the simple monitor or a capture runs.
TEST_F(Checks, PanelAcrossChecks)
{
    for (const auto &[firmware, simpleMonitor] : {std::pair{"V1.05", true}, std::pair{"V1.01", false}}) {
        board.answer(CMD_VERSION, {versionReply(firmware)});
        panel.simpleMonitor = simpleMonitor;
        panel.busy = !simpleMonitor;
        ASSERT_TRUE(runCheck());
        EXPECT_FALSE(panel.sampling) << firmware;
    }
}

TEST_F(Checks, PortThatCannotBeOpenedIsReportedFromTheButtonOnly)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    panel.status.texts.clear();
    panel.chosen.port = QStringLiteral("COM9");
    port.missingPorts.insert(9);
    ASSERT_TRUE(runCheck(ConnectionCheck::Origin::PortChoice));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(panel.status.texts.isEmpty());

    ASSERT_TRUE(runCheck());
    expectMessage(MessageIcon::Exclamation, QStringLiteral("通信ポート"), 0,
                  QStringLiteral("COM9 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1     "));
    // Before the query: the flags of the last check stand.
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
}

TEST_F(Checks, StartUpWithASilentBoardShowsTheLongMessage)
{
    panel.chosen.port = QStringLiteral("COM2");
    panel.sampling = true;
    bool done = false;
    check.startUp([&] { done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 4000));
    expectBlink(QStringLiteral("現在の設定：COM2。　ボードの電源、ＰＣとの接続、通信設定を確認後、「通信確認」ボタンを押してください。"));
    expectMessage(MessageIcon::Information, {}, 14, QStringLiteral("\r\n現在 選択している通信ポート：COM2\r\n"));
    expectFailedWithListsUntouched();
}

TEST_F(Checks, ChoosingAMissingOrUnreadablePortRestoresTheOldOne)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    port.missingPorts.insert(17);
    port.refusedPaths.insert(QStringLiteral("/dev/ttyUSB7"));
    port.devicePathShown = QStringLiteral("/dev/ttyUSB7");
    port.refusalShown = {PortRefusal::Kind::NoPermission, port.devicePathShown, {}, QStringLiteral("dialout")};
    const struct { const char *text; qsizetype lineEnds; QString part; const char *wire; } cases[] = {
        {"COM17", 0, QStringLiteral("COM17 は存在しませんでした。"), "close|port 17|open 17|port 1"},
        {"/dev/ttyUSB7", 4, QStringLiteral("グループ「dialout」に参加してから"), "port /dev/ttyUSB7|open /dev/ttyUSB7|port 1"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        dialogs.messages.clear();
        port.operations.clear();
        panel.chosen.port = QLatin1String(c.text);
        check.choosePort();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 2000));
        expectMessage(MessageIcon::Exclamation, QStringLiteral("通信ポート"), c.lineEnds, c.part);
        EXPECT_EQ(panel.chosen.port, QStringLiteral("COM1"));
        EXPECT_EQ(store.program(QStringLiteral("COM_Port")), QStringLiteral("<unset>"));
        EXPECT_EQ(port.operations, ops(c.wire));
        EXPECT_TRUE(owner.isFree());
    }
}

// The button clears the status and checks once, however often pressed; an
// open simple monitor is closed once the board is verified; a link speed
// chosen while the check waits reaches the port after it.
TEST_F(Checks, PortCheckButtonChecksOnceAndALinkSpeedChosenMeanwhileFollows)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    QList<bool> verifiedWhenClosed;
    choices.setSimpleMonitorHooks([&] { verifiedWhenClosed << panel.results.BoardVerified; }, {});
    panel.simpleMonitor = true;
    ReportStatus(panel.status, 1, QStringLiteral("50%"), 50);
    panel.status.texts.clear();
    choices.checkRequested();
    choices.checkRequested();
    EXPECT_EQ(panel.status.texts, QStringList{QString()});
    panel.chosen.linkSpeed = 115200;
    choices.linkSpeedChosen();
    EXPECT_TRUE(verifiedWhenClosed.isEmpty());
    ASSERT_TRUE(QSignalSpy(&check, &ConnectionCheck::checkFinished).wait(4000));
    EXPECT_EQ(verifiedWhenClosed, QList<bool>{true});
    const QStringList &log = port.operations;
    ASSERT_TRUE(waitFor([&] { return log.last().startsWith(QLatin1String("settings 115")); }));
    // The check ran at the old speed and was answered.
    EXPECT_EQ(port.written, QByteArray("V"));
    EXPECT_EQ(log.indexOf(QStringLiteral("settings 115200,n,8,1")), log.indexOf(QStringLiteral("read 22")) + 1);
}

} // namespace
