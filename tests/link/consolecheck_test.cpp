// The check for programs without a window: what a terminal is told.
#include "link/consolecheck.h"
#include "linktesting.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class ConsoleCheck : public testing::Test
{
protected:
    std::optional<ConsoleCheckResult> run()
    {
        std::optional<ConsoleCheckResult> result;
        runConsoleCheck(owner, {}, QStringLiteral("/dev/ttyUSB0"), [&](const ConsoleCheckResult &r) {
            result = r;
            heldDuringDone = owner.holder() == LinkUse::Check;
            owner.release(LinkUse::Check);
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 3000));
        return result;
    }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
    bool heldDuringDone = false;
};

TEST_F(ConsoleCheck, VerifiedBoard)
{
    board.answer(CMD_VERSION, {versionReply("V1.04")});
    const auto result = run();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->verified);
    EXPECT_EQ(result->firmwareVersion, QStringLiteral("V1.04"));
    EXPECT_EQ(result->text, QStringLiteral("Ferrox LM V1.04   /dev/ttyUSB0:通信確認ＯＫ。\n"));
    EXPECT_TRUE(heldDuringDone);
    EXPECT_EQ(owner.holder(), LinkUse::None);
}

TEST_F(ConsoleCheck, EveryFailureHasItsReason)
{
    struct Case
    {
        const char *name;
        QList<QByteArray> reply;
        bool missingPort;
        QString text;
    };
    const QList<Case> cases{
        {"silent", {}, false, QStringLiteral("*** ボードと通信ができませんでした ***\n")},
        {"short", {versionReply("V1.05", 21)}, false, QStringLiteral("*** ボードと通信ができませんでした ***\n")},
        {"foreign", {versionReply("V1.05", 22, "Other box")}, false,
         QStringLiteral("*** ボードと通信ができませんでした ***\n\"Other box V1.05 \"\n")},
        {"missing port", {}, true,
         QStringLiteral("/dev/ttyUSB0 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1\n")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        board.answer(CMD_VERSION, c.reply);
        if (c.missingPort)
            port.missingPorts.insert(1);
        const auto result = run();
        ASSERT_TRUE(result);
        EXPECT_FALSE(result->verified);
        EXPECT_EQ(result->text, c.text);
    }
}

TEST_F(ConsoleCheck, UnsupportedFirmwareGetsTheFirmwareMessageInTerminalLines)
{
    board.answer(CMD_VERSION, {versionReply("V2.00")});
    const auto result = run();
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->verified);
    EXPECT_EQ(result->firmwareVersion, QStringLiteral("V2.00"));
    EXPECT_FALSE(result->text.contains(u'\r'));
    const QStringList lines = result->text.split(u'\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringLiteral("*** ファームウエアバージョン ミスマッチ ***"));
    EXPECT_EQ(lines[6], QStringLiteral("使用中のファームウエアバージョン　：　 V2.00"));
}

} // namespace
