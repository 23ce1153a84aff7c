// The connection check as the user sees it (status blinks, message boxes, the panel's lists, enables and
// sampling timer, the results) against scripted answers and the simulated board; the link choices around it.
#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "link/protocol.h"
#include "linktesting.h"
#include "support/fakedialogs.h"
#include "support/inprocessboard.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QString linkOk(const QByteArray &reply, const QString &port = QStringLiteral("COM1"))
{
    return QString::fromLatin1(reply.left(16)) + QStringLiteral("  ") + port + QStringLiteral(":通信確認ＯＫ。");
}

// The check against any port; subclasses choose what answers.
class CheckFixture : public testing::Test
{
protected:
    void build(FakeSerialPort &port)
    { owner = std::make_unique<LinkOwner>(port), check = std::make_unique<ConnectionCheck>(*owner, panel, dialogs, ProgramSettings(store)); }
    bool runCheck(ConnectionCheck::Origin origin = ConnectionCheck::Origin::Button)
    {
        bool done = false;
        return check->check(origin, [&] { done = true; }) && QTest::qWaitFor([&] { return done; }, 4000);
    }
    // Waits for the end of a check started some other way.
    bool waitForCheck() { return QSignalSpy(check.get(), &ConnectionCheck::checkFinished).wait(4000); }
    const CheckResults &results() const { return check->results(); }

    // The text, a full-width blank, the text again, about a quarter second apart.
    void expectBlink(const QString &text)
    {
        ASSERT_EQ(panel.status.texts, (QStringList{text, QStringLiteral("　"), text}));
        EXPECT_TRUE(panel.status.times[1] - panel.status.times[0] >= 245 && panel.status.times[2] - panel.status.times[1] >= 245);
        EXPECT_FALSE(panel.status.progressVisible);
    }
    void useBoard(const BoardConfig &config) { simulated = std::make_unique<InProcessBoard>(config), build(simulated->port()); }
    // The one message box: its icon, title, how many CR LF it holds and a part of it.
    void expectMessage(MessageIcon icon, const QString &title, qsizetype lineEnds, const QString &part)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(std::tuple(dialogs.messages[0].icon, dialogs.messages[0].title, dialogs.messages[0].text.count(QStringLiteral("\r\n"))),
                  std::tuple(icon, title, lineEnds));
        EXPECT_TRUE(dialogs.messages[0].text.contains(part)) << dialogs.messages[0].text.toStdString();
    }
    void expectFailedWithListsUntouched()
    {
        EXPECT_TRUE(results().LinkFailed && !results().BoardVerified && !panel.sampling
                    && panel.monitorSpeeds == QList<int>{-1} && panel.directions.isEmpty());
    }

    FakeLinkPanel panel;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    std::unique_ptr<InProcessBoard> simulated;
    std::unique_ptr<LinkOwner> owner;
    std::unique_ptr<ConnectionCheck> check;
};

class ScriptedCheck : public CheckFixture
{
protected:
    ScriptedCheck() { build(port); }
    FakeSerialPort port;
    ScriptedBoard board{port};
};

// What each firmware offers is the protocol's table; here the panel gets
// exactly that.
class CheckWithBoard : public CheckFixture, public testing::WithParamInterface<std::tuple<std::string, int>> {};

TEST_P(CheckWithBoard, AdaptsThePanelToTheFirmware)
{
    const auto [firmware, jumper] = GetParam();
    useBoard({.firmware = QByteArray::fromStdString(firmware), .jumper = jumper});
    panel.chosen.linkSpeed = jumper;
    panel.chosen.port = QStringLiteral("COM2"), panel.chosen.rts = true;
    ASSERT_TRUE(runCheck());

    EXPECT_EQ(simulated->port().operations, ops("port 2|open 2") << QStringLiteral("settings %1,n,8,1").arg(jumper)
                                                 << ops("threshold 0|discard|rts 1|dtr 0|write 56|read 22"));
    expectBlink(linkOk(simulated->engine().versionReply(), QStringLiteral("COM2")));
    EXPECT_TRUE(results().BoardVerified && !results().LinkFailed && dialogs.messages.isEmpty());
    EXPECT_EQ(results().FirmwareVersion, QString::fromStdString(firmware));
    EXPECT_EQ(results().BoardReply, QString::fromLatin1(simulated->engine().versionReply().left(16)));
    const auto features = *firmwareFeatures(QString::fromStdString(firmware), jumper);
    EXPECT_EQ(std::tuple(panel.monitorSpeeds, panel.directions, panel.rateMeasure, panel.dataWidth),
              std::tuple(features.monitorSpeeds, features.directions, features.rateMeasure, features.dataWidth));
    EXPECT_EQ(panel.monitorSpeedText + panel.directionText, QStringLiteral("  9600双方向"));
    // The lists are refilled after the blink, the timer switched on before them.
    EXPECT_EQ(panel.events, ops("lines|timer on|speeds|directions"));
}

// The oldest and the newest firmware, at each link speed.
INSTANTIATE_TEST_SUITE_P(OldestAndNewest, CheckWithBoard,
                         testing::Values(std::tuple<std::string, int>{"V1.01", 57600}, std::tuple<std::string, int>{"V1.05", 115200}),
                         [](const auto &info) { return std::string(std::get<0>(info.param)).erase(2, 1) + "_at_" + std::to_string(std::get<1>(info.param)); });

// A long reply in two pieces is read whole, nothing left waiting; a short
// one is no answer, whatever it holds.
TEST_F(ScriptedCheck, RepliesAreReadWholeAndJudged)
{
    const QByteArray long30 = versionReply("V1.05", 30);
    board.answer(CMD_VERSION, {long30.left(12), long30.mid(12)});
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(port.operations.last() == QStringLiteral("read 30") && port.bytesWaiting() == 0 && results().BoardVerified);
    expectBlink(linkOk(long30));

    board.answer(CMD_VERSION, {versionReply("V1.05", 21)});
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(results().LinkFailed && !results().BoardVerified);
}

TEST_F(ScriptedCheck, UnsupportedFirmwareShowsItsMessageWithoutBlinking)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    panel.sampling = true;
    ASSERT_TRUE(runCheck());
    EXPECT_EQ(panel.status.texts, QStringList{QStringLiteral("ファームウエアバージョン ミスマッチ")});
    expectMessage(MessageIcon::Information, {}, 10, QStringLiteral("\r\n使用中のファームウエアバージョン　：　 V2.00\r\n"));
    expectFailedWithListsUntouched();
    EXPECT_EQ(results().FirmwareVersion, QStringLiteral("V2.00"));
}

// Sampling stays off while the simple monitor or a capture runs; the data
// width once enabled stays so; the lists take the stored texts even when
// the firmware does not offer them.
TEST_F(ScriptedCheck, PanelAcrossChecks)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    panel.simpleMonitor = true;
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(panel.dataWidth && panel.rateMeasure && !panel.sampling);

    ProgramSettings(store).save(QStringLiteral("Monitor_speed"), QStringLiteral(" 14400"));
    ProgramSettings(store).save(QStringLiteral("Direction"), QStringLiteral("J1←J2"));
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    panel.simpleMonitor = panel.startButton = false;
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(results().BoardVerified && panel.dataWidth && !panel.sampling && !panel.rateMeasure);
    EXPECT_FALSE(panel.monitorSpeeds.contains(14400));
    EXPECT_EQ(panel.directions, QList<MonitorDirection>{MonitorDirection::Both});
    EXPECT_EQ(panel.monitorSpeedText + panel.directionText, QStringLiteral(" 14400J1←J2"));
}

TEST_F(ScriptedCheck, PortThatCannotBeOpenedIsReportedFromTheButtonOnly)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    panel.status.texts.clear();
    panel.chosen.port = QStringLiteral("COM9"), port.missingPorts.insert(9);
    ASSERT_TRUE(runCheck(ConnectionCheck::Origin::PortChoice));
    EXPECT_TRUE(dialogs.messages.isEmpty() && panel.status.texts.isEmpty());

    ASSERT_TRUE(runCheck());
    expectMessage(MessageIcon::Exclamation, QStringLiteral("通信ポート"), 0,
                  QStringLiteral("COM9 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1     "));
    // Before the query: the flags of the last check stand.
    EXPECT_TRUE(results().BoardVerified && !results().LinkFailed);
}

TEST_F(ScriptedCheck, StartUpWithASilentBoardShowsTheLongMessage)
{
    panel.chosen.port = QStringLiteral("COM2"), panel.sampling = true;
    bool done = false;
    check->startUp([&] { done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 4000));
    expectBlink(QStringLiteral("現在の設定：COM2。　ボードの電源、ＰＣとの接続、通信設定を確認後、「通信確認」ボタンを押してください。"));
    expectMessage(MessageIcon::Information, {}, 14, QStringLiteral("\r\n現在 選択している通信ポート：COM2\r\n"));
    expectFailedWithListsUntouched();
}

TEST_F(ScriptedCheck, ChoosingAMissingOrUnreadablePortRestoresTheOldOne)
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
        check->choosePort();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 2000));
        expectMessage(MessageIcon::Exclamation, QStringLiteral("通信ポート"), c.lineEnds, c.part);
        EXPECT_EQ(panel.chosen.port + port.portName() + store.program(QStringLiteral("COM_Port")), QStringLiteral("COM1COM1<unset>"));
        EXPECT_EQ(port.operations, ops(c.wire));
        EXPECT_TRUE(!port.isOpen() && owner->isFree());
    }
}

TEST_F(ScriptedCheck, ChoosingAPortStoresItAndChecks)
{
    // A device path is a port like COMn: opened as it is and named in the status.
    const QString device = QStringLiteral("/dev/ttyACM0");
    board.answer(CMD_VERSION, {versionReply("V1.02")});
    panel.chosen.port = device;
    check->choosePort();
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(store.program(QStringLiteral("COM_Port")), device);
    EXPECT_EQ(port.operations.mid(0, 4), ops("port /dev/ttyACM0|open /dev/ttyACM0|close|port /dev/ttyACM0"));
    expectBlink(linkOk(versionReply("V1.02"), device));
}

class Choices : public CheckFixture
{
protected:
    // A V1.05 board behind a 57600-baud jumper.
    Choices() { useBoard({}), choices = std::make_unique<LinkChoices>(*check, *owner, panel, dialogs); }
    std::unique_ptr<LinkChoices> choices;
};

TEST_F(Choices, TheSimpleMonitorIsClosedAfterACheckAndRestartedOnMonitorChoices)
{
    choices->monitorChoiceMade(); // no simple monitor yet: nothing to do
    int closed = 0, restarted = 0;
    bool verifiedWhenClosed = false;
    choices->setSimpleMonitorHooks([&] { ++closed, verifiedWhenClosed = check->results().BoardVerified; },
                                  [&] { ++restarted; });
    panel.simpleMonitor = true;
    choices->Cmd_Port_Check_Click();
    EXPECT_EQ(closed, 0);
    ASSERT_TRUE(waitForCheck());
    choices->monitorChoiceMade();
    EXPECT_TRUE(closed == 1 && verifiedWhenClosed && restarted == 1);
}

// The button clears the status and checks once, however often pressed; a
// link speed chosen while the check waits reaches the port after it.
TEST_F(Choices, PortCheckButtonChecksOnceAndALinkSpeedChosenMeanwhileFollows)
{
    ReportStatus(panel.status, 1, QStringLiteral("50%"), 50);
    panel.status.texts.clear();
    choices->Cmd_Port_Check_Click();
    choices->Cmd_Port_Check_Click();
    EXPECT_EQ(panel.status.texts, QStringList{QString()});
    panel.chosen.linkSpeed = 115200;
    choices->Combo_PC_speed_Click();
    ASSERT_TRUE(waitForCheck());
    const QStringList &log = simulated->port().operations;
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.last().startsWith(QLatin1String("settings 115")); }, 1000));
    // The check ran at the old speed and was answered.
    EXPECT_TRUE(check->results().BoardVerified && simulated->port().written == "V");
    EXPECT_EQ(log.indexOf(QStringLiteral("settings 115200,n,8,1")), log.indexOf(QStringLiteral("read 22")) + 1);
}

} // namespace
