// The connection check as the user sees it: status blinks, message boxes,
// the settings panel's lists and enables, the sampling timer and the
// results, against scripted answers and against the simulated board; and
// the settings panel's link choices around it.
#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "link/protocol.h"
#include "linktesting.h"
#include "support/fakedialogs.h"
#include "support/inprocessboard.h"

#include <QElapsedTimer>
#include <QMap>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString kAdvice =
    QStringLiteral("ボードの電源、ＰＣとの接続、通信設定を確認後、「通信確認」ボタンを押してください。");

QString noAnswer(int port)
{
    return QStringLiteral("現在の設定：COM%1。　").arg(port) + kAdvice;
}

QString linkOk(const QByteArray &reply, int port)
{
    return QString::fromLatin1(reply.left(16)) + QStringLiteral("  COM%1:通信確認ＯＫ。").arg(port);
}

// The check against any port; subclasses choose what answers.
class CheckFixture : public testing::Test
{
protected:
    void build(FakeSerialPort &port)
    {
        check.reset();
        panel = FakeLinkPanel();
        owner = std::make_unique<LinkOwner>(port);
        check = std::make_unique<ConnectionCheck>(*owner, panel, dialogs, ProgramSettings(store));
    }
    bool runCheck(ConnectionCheck::Origin origin = ConnectionCheck::Origin::Button)
    {
        bool done = false;
        return check->check(origin, [&] { done = true; }) && QTest::qWaitFor([&] { return done; }, 4000);
    }
    bool startUp()
    {
        bool done = false;
        check->startUp([&] { done = true; });
        return QTest::qWaitFor([&] { return done; }, 4000);
    }
    // Waits for the end of a check started some other way.
    bool waitForCheck()
    {
        bool finished = false;
        QObject::connect(check.get(), &ConnectionCheck::checkFinished, [&] { finished = true; });
        return QTest::qWaitFor([&] { return finished; }, 4000);
    }
    const CheckResults &results() const { return check->results(); }

    // The text, a full-width blank, the text again, about a quarter second apart.
    void expectBlink(const QString &text)
    {
        ASSERT_EQ(panel.status.texts, (QStringList{text, QStringLiteral("　"), text}));
        EXPECT_GE(panel.status.times[1] - panel.status.times[0], 245);
        EXPECT_GE(panel.status.times[2] - panel.status.times[1], 245);
        EXPECT_FALSE(panel.status.progressVisible);
    }
    void useBoard(const BoardConfig &config)
    {
        check.reset();
        owner.reset();
        simulated = std::make_unique<InProcessBoard>(config);
        build(simulated->port());
    }
    // The one message box: its icon, title and, split at CR LF, how many
    // pieces and some of them by index.
    void expectMessage(MessageIcon icon, const QString &title, qsizetype pieces, const QMap<int, QString> &lines)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        EXPECT_EQ(dialogs.messages[0].title, title);
        const QStringList split = dialogs.messages[0].text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(split.size(), pieces);
        for (auto it = lines.begin(); it != lines.end(); ++it)
            EXPECT_EQ(split[it.key()], it.value()) << it.key();
    }
    void expectPortMessage(const QString &text)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
        EXPECT_EQ(dialogs.messages[0].text, text);
    }
    void expectFailedWithListsUntouched()
    {
        EXPECT_TRUE(results().LinkFailed);
        EXPECT_FALSE(results().BoardVerified);
        EXPECT_FALSE(panel.sampling);
        EXPECT_EQ(panel.monitorSpeeds, QStringList{QStringLiteral("start-up list")});
        EXPECT_EQ(panel.directions, QStringList{QStringLiteral("start-up list")});
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
class CheckWithBoard : public CheckFixture, public testing::WithParamInterface<std::tuple<std::string, int>>
{
};

TEST_P(CheckWithBoard, AdaptsThePanelToTheFirmware)
{
    const auto [firmware, jumper] = GetParam();
    useBoard({.firmware = QByteArray::fromStdString(firmware), .jumper = jumper});
    panel.linkSpeed = jumper == 57600 ? QStringLiteral(" 57600") : QStringLiteral("115200");
    panel.port = QStringLiteral("COM2");
    panel.rts = true;
    ASSERT_TRUE(runCheck());

    const QString settings = QStringLiteral("settings ") + panel.linkSpeed + QStringLiteral(",n,8,1");
    EXPECT_EQ(simulated->port().operations,
              ops("port 2|open 2") << settings << ops("threshold 0|discard|rts 1|dtr 0|write 56|read 22"));
    expectBlink(linkOk(simulated->engine().versionReply(), 2));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(results().BoardVerified && !results().LinkFailed);
    EXPECT_EQ(results().FirmwareVersion, QString::fromStdString(firmware));
    EXPECT_EQ(results().BoardReply, QString::fromLatin1(simulated->engine().versionReply().left(16)));
    const auto features = firmwareFeatures(QString::fromStdString(firmware), panel.linkSpeed);
    ASSERT_TRUE(features);
    EXPECT_EQ(panel.monitorSpeeds, features->monitorSpeeds);
    EXPECT_EQ(panel.monitorSpeedText, QStringLiteral("  9600"));
    EXPECT_EQ(panel.directions, features->directions);
    EXPECT_EQ(panel.directionText, QStringLiteral("双方向"));
    EXPECT_EQ(panel.rateMeasure, features->rateMeasure);
    EXPECT_EQ(panel.dataWidth, features->dataWidth);
    EXPECT_TRUE(panel.sampling);
    // The lists are refilled after the blink, the timer switched on before them.
    EXPECT_EQ(panel.events, ops("lines|timer on|speeds|directions"));
}

// One row per distinct panel: one direction, three, rate measure, data width.
INSTANTIATE_TEST_SUITE_P(EveryFirmware, CheckWithBoard,
                         testing::Values(std::tuple<std::string, int>{"V1.01", 57600}, std::tuple<std::string, int>{"V1.03", 115200},
                                         std::tuple<std::string, int>{"V1.04", 57600}, std::tuple<std::string, int>{"V1.05", 115200}),
                         [](const auto &info) {
                             std::string name = std::get<0>(info.param);
                             std::erase(name, '.');
                             return name + "_at_" + std::to_string(std::get<1>(info.param));
                         });

TEST_F(ScriptedCheck, RepliesAreReadWholeAndJudged)
{
    const QByteArray long30 = versionReply("V1.05", 30);
    const struct
    {
        const char *name;
        QList<QByteArray> chunks;
        bool verified;
        const char *firmware; // bytes 10..14 of a reply of 22 or more
    } cases[] = {
        {"30 bytes", {long30.left(12), long30.mid(12)}, true, "V1.05"},
        {"21 bytes", {versionReply("V1.05", 21)}, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        build(port);
        port.operations.clear();
        panel.sampling = true;
        board.answer(CMD_VERSION, c.chunks);
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(runCheck());
        const qsizetype length = c.chunks.join().size();
        if (length >= 22) {
            EXPECT_EQ(port.operations.last(), QStringLiteral("read %1").arg(length));
            EXPECT_EQ(port.bytesWaiting(), 0);
        } else {
            EXPECT_FALSE(port.operations.last().startsWith(QLatin1String("read")));
            EXPECT_GE(clock.elapsed(), 1000); // the whole second waited for
        }
        EXPECT_EQ(results().FirmwareVersion, QString::fromLatin1(c.firmware));
        EXPECT_TRUE(dialogs.messages.isEmpty());
        if (c.verified) {
            expectBlink(linkOk(long30, 1));
            EXPECT_TRUE(results().BoardVerified);
        } else {
            expectBlink(noAnswer(1));
            expectFailedWithListsUntouched();
        }
    }
}

TEST_F(ScriptedCheck, UnsupportedFirmwareShowsItsMessageWithoutBlinking)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    panel.sampling = true;
    ASSERT_TRUE(runCheck());
    EXPECT_EQ(panel.status.texts, QStringList{QStringLiteral("ファームウエアバージョン ミスマッチ")});
    // Ten lines, each ended by CR LF; the firmware named in the seventh.
    expectMessage(MessageIcon::Information, {}, 11, {{6, QStringLiteral("使用中のファームウエアバージョン　：　 V2.00")}});
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
    EXPECT_TRUE(panel.dataWidth && panel.rateMeasure);
    EXPECT_FALSE(panel.sampling);

    ProgramSettings(store).save(QStringLiteral("Monitor_speed"), QStringLiteral(" 14400"));
    ProgramSettings(store).save(QStringLiteral("Direction"), QStringLiteral("J1←J2"));
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    panel.simpleMonitor = false;
    panel.startButton = false;
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(panel.sampling);
    EXPECT_TRUE(panel.dataWidth);
    EXPECT_FALSE(panel.rateMeasure);
    EXPECT_FALSE(panel.monitorSpeeds.contains(QStringLiteral(" 14400")));
    EXPECT_EQ(panel.monitorSpeedText, QStringLiteral(" 14400"));
    EXPECT_EQ(panel.directions, QStringList{QStringLiteral("双方向")});
    EXPECT_EQ(panel.directionText, QStringLiteral("J1←J2"));
}

TEST_F(ScriptedCheck, PortThatCannotBeOpenedIsReportedFromTheButtonOnly)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    panel.status.texts.clear();
    panel.port = QStringLiteral("COM9");
    port.missingPorts.insert(9);
    ASSERT_TRUE(runCheck(ConnectionCheck::Origin::PortChoice));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(panel.status.texts.isEmpty());

    ASSERT_TRUE(runCheck());
    expectPortMessage(QStringLiteral("COM9 は使用できませんでした。") + QString(10, QChar(0x3000))
                      + QStringLiteral("1     "));
    // Before the query: the flags of the last check stand.
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
}

TEST_F(ScriptedCheck, StartUpWithASilentBoardShowsTheLongMessage)
{
    panel.port = QStringLiteral("COM2");
    ASSERT_TRUE(startUp());
    expectBlink(noAnswer(2));
    expectMessage(MessageIcon::Information, {}, 15, {{3, QStringLiteral("現在 選択している通信ポート：COM2")}});
}

TEST_F(ScriptedCheck, ChoosingAMissingOrUnreadablePortRestoresTheOldOne)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    port.missingPorts.insert(17);
    port.refusedPaths.insert(QStringLiteral("/dev/ttyUSB7"));
    port.devicePathShown = QStringLiteral("/dev/ttyUSB7");
    port.deviceGroupShown = QStringLiteral("dialout");
    const QString spaces(10, QChar(0x3000));
    const struct
    {
        const char *text;
        QString message;
        const char *wire;
    } cases[] = {{"COM17", QStringLiteral("COM17 は存在しませんでした。") + spaces, "close|port 17|open 17|port 1"},
                 {"/dev/ttyUSB7",
                  QStringLiteral("/dev/ttyUSB7 は存在しませんでした。") + spaces
                      + QStringLiteral("\r\n\r\n/dev/ttyUSB7 を開く権限がありません。\r\n"
                                       "グループ「dialout」に参加してから、ログインし直してください。\r\n"
                                       "（sudo usermod -aG dialout $USER）"),
                  "port /dev/ttyUSB7|open /dev/ttyUSB7|port 1"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        dialogs.messages.clear();
        port.operations.clear();
        panel.port = QLatin1String(c.text);
        check->choosePort();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 2000));
        expectPortMessage(c.message);
        EXPECT_EQ(panel.port, QStringLiteral("COM1"));
        EXPECT_EQ(port.portName(), QStringLiteral("COM1"));
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(store.program(QStringLiteral("COM_Port")), QStringLiteral("<unset>"));
        EXPECT_EQ(port.operations, ops(c.wire));
        EXPECT_EQ(owner->holder(), LinkUse::None);
    }
}

TEST_F(ScriptedCheck, ChoosingAPortStoresItAndChecks)
{
    // A device path is a port like COMn: opened as it is and named in the status.
    const QString device = QStringLiteral("/dev/ttyACM0");
    board.answer(CMD_VERSION, {versionReply("V1.02")});
    panel.port = device;
    check->choosePort();
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(store.program(QStringLiteral("COM_Port")), device);
    EXPECT_EQ(port.operations.mid(0, 4), QStringList({QStringLiteral("port ") + device, QStringLiteral("open ") + device,
                                                      QStringLiteral("close"), QStringLiteral("port ") + device}));
    EXPECT_TRUE(results().BoardVerified);
    expectBlink(QString::fromLatin1(versionReply("V1.02").left(16)) + QStringLiteral("  ") + device
                + QStringLiteral(":通信確認ＯＫ。"));
}

class Choices : public CheckFixture
{
protected:
    Choices()
    {
        useBoard({}); // a V1.05 board behind a 57600-baud jumper
        choices = std::make_unique<LinkChoices>(*check, *owner, panel, dialogs);
    }
    std::unique_ptr<LinkChoices> choices;
};

TEST_F(Choices, PortCheckButtonClearsTheStatusThenChecksOnce)
{
    ReportStatus(panel.status, 1, QStringLiteral("50%"), 50);
    panel.status.texts.clear();
    choices->Cmd_Port_Check_Click();
    // A second press while the check waits does nothing at all.
    choices->Cmd_Port_Check_Click();
    EXPECT_EQ(panel.status.texts, QStringList{QString()});
    ASSERT_TRUE(waitForCheck());
    QTest::qWait(50);
    ASSERT_EQ(panel.status.texts.size(), 4);
    EXPECT_TRUE(panel.status.texts[1].endsWith(QStringLiteral("  COM1:通信確認ＯＫ。")));
    EXPECT_TRUE(check->results().BoardVerified);
    EXPECT_EQ(simulated->port().written, QByteArray("V"));
}

TEST_F(Choices, TheSimpleMonitorIsClosedAfterACheckAndRestartedOnMonitorChoices)
{
    choices->monitorChoiceMade(); // no simple monitor yet: nothing to do
    int closed = 0;
    int restarted = 0;
    bool verifiedWhenClosed = false;
    choices->setSimpleMonitorHooks([&] { ++closed, verifiedWhenClosed = check->results().BoardVerified; },
                                  [&] { ++restarted; });
    choices->Cmd_Port_Check_Click();
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(closed, 0);

    panel.simpleMonitor = true;
    choices->Cmd_Port_Check_Click();
    EXPECT_EQ(closed, 0);
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(verifiedWhenClosed);

    choices->monitorChoiceMade();
    EXPECT_EQ(restarted, 1);
}

TEST_F(Choices, LinkSpeedChosenWhileACheckWaitsReachesThePortAfterIt)
{
    choices->Cmd_Port_Check_Click();
    panel.linkSpeed = QStringLiteral("115200");
    choices->Combo_PC_speed_Click();
    ASSERT_TRUE(waitForCheck());
    const QStringList &log = simulated->port().operations;
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.last().startsWith(QLatin1String("settings 115")); }, 1000));
    // The check ran at the old speed and was answered.
    EXPECT_TRUE(check->results().BoardVerified);
    const qsizetype read = log.indexOf(QStringLiteral("read 22"));
    EXPECT_GT(read, 0);
    EXPECT_EQ(log.indexOf(QStringLiteral("settings 115200,n,8,1")), read + 1);
}

} // namespace
