// The connection check as the user sees it: status blinks, message boxes,
// the settings panel's lists and enables, the sampling timer and the
// results, against scripted answers and against the simulated board.
#include "link/connectioncheck.h"
#include "linktesting.h"
#include "support/fakedialogs.h"
#include "support/inprocessboard.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString kBlank = QStringLiteral("　");
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

QStringList linesOf(const QString &message)
{
    return message.split(QStringLiteral("\r\n"));
}

// The check against any port; subclasses choose what answers.
class CheckFixture : public testing::Test
{
protected:
    void build(FakeSerialPort &port)
    {
        m_port = &port;
        owner = std::make_unique<LinkOwner>(port);
        check = std::make_unique<ConnectionCheck>(*owner, panel, dialogs, ProgramSettings(store));
    }

    bool runCheck(ConnectionCheck::Origin origin = ConnectionCheck::Origin::Button)
    {
        bool done = false;
        if (!check->check(origin, [&] { done = true; }))
            return false;
        return QTest::qWaitFor([&] { return done; }, 4000);
    }
    bool startUp()
    {
        bool done = false;
        check->startUp([&] { done = true; });
        return QTest::qWaitFor([&] { return done; }, 4000);
    }
    const CheckResults &results() const { return check->results(); }

    void expectBlink(const QString &text)
    {
        ASSERT_EQ(panel.status.texts, (QStringList{text, kBlank, text}));
        EXPECT_GE(panel.status.times[1] - panel.status.times[0], 245);
        EXPECT_GE(panel.status.times[2] - panel.status.times[1], 245);
        EXPECT_FALSE(panel.status.progressVisible);
    }
    void expectListsUntouched()
    {
        EXPECT_EQ(panel.monitorSpeeds, QStringList{QStringLiteral("start-up list")});
        EXPECT_EQ(panel.directions, QStringList{QStringLiteral("start-up list")});
    }

    FakeLinkPanel panel;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    std::unique_ptr<LinkOwner> owner;
    std::unique_ptr<ConnectionCheck> check;

private:
    FakeSerialPort *m_port = nullptr;
};

class ScriptedCheck : public CheckFixture
{
protected:
    ScriptedCheck() { build(port); }
    FakeSerialPort port;
    ScriptedBoard board{port};
};

// --- against the simulated board: every firmware, both link speeds ------

struct BoardCase
{
    const char *firmware;
    int jumper;
    int speeds;
    const char *fastest;
    int directions;
    bool rateMeasure;
    bool dataWidth;
};

class CheckWithBoard : public CheckFixture, public testing::WithParamInterface<BoardCase>
{
protected:
    CheckWithBoard()
    {
        BoardConfig config;
        config.firmware = GetParam().firmware;
        config.jumper = GetParam().jumper;
        board = std::make_unique<InProcessBoard>(config);
        build(board->port());
        panel.linkSpeed = config.jumper == 57600 ? QStringLiteral(" 57600") : QStringLiteral("115200");
    }
    std::unique_ptr<InProcessBoard> board;
};

TEST_P(CheckWithBoard, AdaptsThePanelToTheFirmware)
{
    const BoardCase c = GetParam();
    panel.port = QStringLiteral("COM2");
    panel.rts = true;
    ASSERT_TRUE(runCheck());

    EXPECT_EQ(board->port().operations,
              (QStringList{QStringLiteral("port 2"), QStringLiteral("open 2"),
                           QStringLiteral("settings ") + panel.linkSpeed + QStringLiteral(",n,8,1"),
                           QStringLiteral("threshold 0"), QStringLiteral("discard"), QStringLiteral("rts 1"),
                           QStringLiteral("dtr 0"), QStringLiteral("write 56"), QStringLiteral("read 22")}));
    expectBlink(linkOk(board->engine().versionReply(), 2));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
    EXPECT_EQ(results().FirmwareVersion, QLatin1String(c.firmware));
    EXPECT_EQ(results().BoardReply, QString::fromLatin1(board->engine().versionReply().left(16)));

    EXPECT_EQ(panel.monitorSpeeds.size(), c.speeds);
    EXPECT_EQ(panel.monitorSpeeds.last(), QLatin1String(c.fastest));
    EXPECT_EQ(panel.monitorSpeedText, QStringLiteral("  9600"));
    EXPECT_EQ(panel.directions.size(), c.directions);
    EXPECT_EQ(panel.directionText, QStringLiteral("双方向"));
    EXPECT_EQ(panel.rateMeasure, c.rateMeasure);
    EXPECT_EQ(panel.dataWidth, c.dataWidth);
    EXPECT_TRUE(panel.sampling);
    // The lists are refilled after the blink, the timer switched on before them.
    EXPECT_EQ(panel.events, (QStringList{QStringLiteral("lines"), QStringLiteral("timer on"),
                                         QStringLiteral("speeds"), QStringLiteral("directions")}));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFirmware, CheckWithBoard,
    testing::Values(BoardCase{"V1.01", 57600, 4, " 28800", 1, false, false},
                    BoardCase{"V1.01", 115200, 6, " 57600", 1, false, false},
                    BoardCase{"V1.02", 57600, 4, " 28800", 3, false, false},
                    BoardCase{"V1.02", 115200, 6, " 57600", 3, false, false},
                    BoardCase{"V1.03", 57600, 8, " 28800", 3, false, false},
                    BoardCase{"V1.03", 115200, 10, " 57600", 3, false, false},
                    BoardCase{"V1.04", 57600, 8, " 28800", 3, true, false},
                    BoardCase{"V1.04", 115200, 10, " 57600", 3, true, false},
                    BoardCase{"V1.05", 57600, 8, " 28800", 3, true, true},
                    BoardCase{"V1.05", 115200, 10, " 57600", 3, true, true}),
    [](const testing::TestParamInfo<BoardCase> &info) {
        return std::string(info.param.firmware).substr(1, 1) + std::string(info.param.firmware).substr(3)
            + "_" + std::to_string(info.param.jumper);
    });

// A link speed that does not match the board's jumper meets silence.
class SilentJumper : public CheckFixture, public testing::WithParamInterface<int>
{
protected:
    SilentJumper()
    {
        BoardConfig config;
        config.jumper = GetParam();
        board = std::make_unique<InProcessBoard>(config);
        build(board->port());
        panel.linkSpeed = config.jumper == 57600 ? QStringLiteral("115200") : QStringLiteral(" 57600");
    }
    std::unique_ptr<InProcessBoard> board;
};

TEST_P(SilentJumper, WrongLinkSpeedBlinksNoAnswer)
{
    panel.sampling = true;
    ASSERT_TRUE(runCheck());
    expectBlink(noAnswer(1));
    EXPECT_TRUE(results().LinkFailed);
    EXPECT_FALSE(results().BoardVerified);
    EXPECT_EQ(results().FirmwareVersion, QString());
    EXPECT_FALSE(panel.sampling);
    expectListsUntouched();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothJumpers, SilentJumper, testing::Values(57600, 115200));

// --- bad answers ---------------------------------------------------------

TEST_F(ScriptedCheck, ShortSilentForeignAndGarbageRepliesBlinkNoAnswer)
{
    struct Case
    {
        const char *name;
        QList<QByteArray> chunks;
        const char *firmwareAfter; // bytes 10..14 of a reply of 22 or more
    };
    const QList<Case> cases{
        {"21 bytes", {versionReply("V1.05", 21)}, ""},
        {"nothing", {}, ""},
        {"foreign", {versionReply("V1.05", 22, "Other box")}, "V1.05"},
        {"garbage", {QByteArray(25, '\xA5')}, "\xA5\xA5\xA5\xA5\xA5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        panel.status.texts.clear();
        panel.status.times.clear();
        panel.status.clock.restart();
        panel.sampling = true;
        board.answer(CMD_VERSION, c.chunks);
        check = std::make_unique<ConnectionCheck>(*owner, panel, dialogs, ProgramSettings(store));
        ASSERT_TRUE(runCheck());
        expectBlink(noAnswer(1));
        EXPECT_TRUE(results().LinkFailed);
        EXPECT_FALSE(results().BoardVerified);
        EXPECT_EQ(results().FirmwareVersion, QString::fromLatin1(c.firmwareAfter));
        EXPECT_FALSE(panel.sampling);
        expectListsUntouched();
        EXPECT_TRUE(dialogs.messages.isEmpty());
    }
}

TEST_F(ScriptedCheck, ThirtyByteReplyPassesAndIsReadWhole)
{
    board.answer(CMD_VERSION, {versionReply("V1.05", 30).left(12), versionReply("V1.05", 30).mid(12)});
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_EQ(port.operations.last(), QStringLiteral("read 30"));
    EXPECT_EQ(port.bytesWaiting(), 0);
}

TEST_F(ScriptedCheck, UnsupportedFirmwareShowsItsMessageWithoutBlinking)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    panel.sampling = true;
    ASSERT_TRUE(runCheck());
    EXPECT_EQ(panel.status.texts, QStringList{QStringLiteral("ファームウエアバージョン ミスマッチ")});
    ASSERT_EQ(dialogs.messages.size(), 1);
    const FakeDialogs::Message &message = dialogs.messages.first();
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.title, QString());
    const QStringList lines = linesOf(message.text);
    ASSERT_EQ(lines.size(), 11); // ten lines, each ended by CR LF
    EXPECT_EQ(lines[0], QStringLiteral("*** ファームウエアバージョン ミスマッチ ***"));
    EXPECT_EQ(lines[6], QStringLiteral("使用中のファームウエアバージョン　：　 V2.00"));
    EXPECT_EQ(lines[10], QString());
    EXPECT_TRUE(results().LinkFailed);
    EXPECT_FALSE(results().BoardVerified);
    EXPECT_EQ(results().FirmwareVersion, QStringLiteral("V2.00"));
    EXPECT_FALSE(panel.sampling);
    expectListsUntouched();
}

TEST_F(ScriptedCheck, FlagsAreClearWhileTheQueryWaits)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    ASSERT_TRUE(results().BoardVerified);
    board.answers.clear();
    bool done = false;
    check->check(ConnectionCheck::Origin::Button, [&] { done = true; });
    QTest::qWait(100);
    EXPECT_FALSE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 4000));
    EXPECT_TRUE(results().LinkFailed);
    // The last good firmware stays known.
    EXPECT_EQ(results().FirmwareVersion, QStringLiteral("V1.05"));
}

TEST_F(ScriptedCheck, SecondCheckWhileOneWaitsIsIgnored)
{
    board.answer(CMD_VERSION, {versionReply("V1.04")});
    bool firstDone = false;
    ASSERT_TRUE(check->check(ConnectionCheck::Origin::Button, [&] { firstDone = true; }));
    bool secondDone = false;
    EXPECT_FALSE(check->check(ConnectionCheck::Origin::Button, [&] { secondDone = true; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstDone; }, 4000));
    QTest::qWait(100);
    EXPECT_FALSE(secondDone);
    EXPECT_EQ(port.written, QByteArray("V"));
    EXPECT_TRUE(results().BoardVerified);
}

TEST_F(ScriptedCheck, SamplingStaysOffWhileTheSimpleMonitorOrACaptureRuns)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    panel.simpleMonitor = true;
    ASSERT_TRUE(runCheck());
    EXPECT_FALSE(panel.sampling);
    panel.simpleMonitor = false;
    panel.startButton = false;
    ASSERT_TRUE(runCheck());
    EXPECT_FALSE(panel.sampling);
    EXPECT_TRUE(results().BoardVerified);
}

TEST_F(ScriptedCheck, ListsTakeTheStoredTextsEvenWhenNotOffered)
{
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("Monitor_speed"),
                      QStringLiteral(" 14400"));
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("Direction"),
                      QStringLiteral("J1←J2"));
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    ASSERT_TRUE(runCheck());
    EXPECT_FALSE(panel.monitorSpeeds.contains(QStringLiteral(" 14400")));
    EXPECT_EQ(panel.monitorSpeedText, QStringLiteral(" 14400"));
    EXPECT_EQ(panel.directions, QStringList{QStringLiteral("双方向")});
    EXPECT_EQ(panel.directionText, QStringLiteral("J1←J2"));
}

TEST_F(ScriptedCheck, DataWidthOnceEnabledStaysEnabled)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(panel.dataWidth);
    EXPECT_TRUE(panel.rateMeasure);
    board.answer(CMD_VERSION, {versionReply("V1.01")});
    ASSERT_TRUE(runCheck());
    EXPECT_TRUE(panel.dataWidth);
    EXPECT_FALSE(panel.rateMeasure);
}

TEST_F(ScriptedCheck, PortThatCannotBeOpenedFromTheButton)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    panel.port = QStringLiteral("COM9");
    port.missingPorts.insert(9);
    ASSERT_TRUE(runCheck());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("COM9 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1     "));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
    // Before the query: the flags of the last check stand.
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_FALSE(results().LinkFailed);
}

TEST_F(ScriptedCheck, CheckAfterAPortChoiceReportsNoPortFailure)
{
    port.missingPorts.insert(1);
    ASSERT_TRUE(runCheck(ConnectionCheck::Origin::PortChoice));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(panel.status.texts.isEmpty());
}

// --- start-up ------------------------------------------------------------

TEST_F(ScriptedCheck, StartUpOpensThePortAndChecks)
{
    board.answer(CMD_VERSION, {versionReply("V1.03")});
    panel.port = QStringLiteral("COM3");
    ASSERT_TRUE(startUp());
    EXPECT_EQ(port.operations.mid(0, 6),
              (QStringList{QStringLiteral("threshold 0"), QStringLiteral("discard"), QStringLiteral("port 3"),
                           QStringLiteral("settings  57600,N,8,1"), QStringLiteral("open 3"),
                           QStringLiteral("close")}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(results().BoardVerified);
    EXPECT_TRUE(panel.sampling);
}

TEST_F(ScriptedCheck, StartUpWithAMissingPortShowsThePortMessageOnce)
{
    panel.port = QStringLiteral("COM7");
    port.missingPorts.insert(7);
    ASSERT_TRUE(startUp());
    QTest::qWait(1300);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("COM7 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1     "));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_FALSE(results().LinkFailed);
}

TEST_F(ScriptedCheck, StartUpWithASilentBoardShowsTheLongMessage)
{
    panel.port = QStringLiteral("COM2");
    ASSERT_TRUE(startUp());
    expectBlink(noAnswer(2));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].title, QString());
    const QStringList lines = linesOf(dialogs.messages[0].text);
    ASSERT_EQ(lines.size(), 15); // fourteen lines, each ended by CR LF
    EXPECT_EQ(lines[0], QStringLiteral("*** ボードと通信ができませんでした ***"));
    EXPECT_EQ(lines[3], QStringLiteral("現在 選択している通信ポート：COM2"));
    EXPECT_EQ(lines[5], kAdvice);
}

TEST_F(ScriptedCheck, StartUpWithUnsupportedFirmwareShowsBothMessages)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    ASSERT_TRUE(startUp());
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("*** ファームウエアバージョン ミスマッチ ***")));
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(QStringLiteral("*** ボードと通信ができませんでした ***")));
}

// --- port choice -----------------------------------------------------------

TEST_F(ScriptedCheck, ChoosingAMissingPortRestoresTheOldOne)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ASSERT_TRUE(runCheck());
    port.missingPorts.insert(17);
    panel.port = QStringLiteral("COM17");
    port.operations.clear();
    check->choosePort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 2000));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("COM17 は存在しませんでした。") + QString(10, QChar(0x3000)));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
    EXPECT_EQ(panel.port, QStringLiteral("COM1"));
    EXPECT_EQ(port.portNumber(), 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(store.program(QStringLiteral("COM_Port")), QStringLiteral("<unset>"));
    EXPECT_EQ(port.operations, (QStringList{QStringLiteral("close"), QStringLiteral("port 17"),
                                            QStringLiteral("open 17"), QStringLiteral("port 1")}));
    EXPECT_EQ(owner->holder(), LinkUse::None);
}

TEST_F(ScriptedCheck, ChoosingAPortStoresItAndChecks)
{
    board.answer(CMD_VERSION, {versionReply("V1.02")});
    panel.port = QStringLiteral("COM5");
    bool finished = false;
    QObject::connect(check.get(), &ConnectionCheck::checkFinished, [&] { finished = true; });
    check->choosePort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 4000));
    EXPECT_EQ(store.program(QStringLiteral("COM_Port")), QStringLiteral("COM5"));
    EXPECT_EQ(port.operations.mid(0, 4), (QStringList{QStringLiteral("port 5"), QStringLiteral("open 5"),
                                                      QStringLiteral("close"), QStringLiteral("port 5")}));
    EXPECT_TRUE(results().BoardVerified);
    expectBlink(linkOk(versionReply("V1.02"), 5));
}

TEST_F(ScriptedCheck, ChoosingAPortWithAnUnreadableNumber)
{
    panel.port = QStringLiteral("COMx");
    check->choosePort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 2000));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("COM0 は存在しませんでした。") + QString(10, QChar(0x3000)));
    EXPECT_EQ(panel.port, QStringLiteral("COM1"));
}

} // namespace
