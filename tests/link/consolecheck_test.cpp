// The check for programs without a window: what a terminal is told.
#include "link/consolecheck.h"
#include "linktesting.h"

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST(ConsoleCheck, EveryOutcomeHasItsText)
{
    const QString noBoard = QStringLiteral("*** ボードと通信ができませんでした ***\n");
    const struct
    {
        const char *name;
        QList<QByteArray> reply;
        bool missingPort;
        QString text; // the firmware message is checked line by line below
    } cases[] = {
        {"verified", {versionReply("V1.04")}, false, QStringLiteral("Ferrox LM V1.04   /dev/ttyUSB0:通信確認ＯＫ。\n")},
        {"silent", {}, false, noBoard},
        {"short", {versionReply("V1.05", 21)}, false, noBoard},
        {"foreign", {versionReply("V1.05", 22, "Other box")}, false, noBoard + QStringLiteral("\"Other box V1.05 \"\n")},
        {"missing port", {}, true,
         QStringLiteral("/dev/ttyUSB0 は使用できませんでした。") + QString(10, QChar(0x3000)) + QStringLiteral("1\n")},
        {"firmware", {versionReply("V2.00")}, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeSerialPort port;
        ScriptedBoard board{port};
        LinkOwner owner{port};
        board.answer(CMD_VERSION, c.reply);
        if (c.missingPort)
            port.missingPorts.insert(1);
        bool heldDuringDone = false;
        const auto result = await<ConsoleCheckResult>([&](auto done) {
            runConsoleCheck(owner, {}, QStringLiteral("/dev/ttyUSB0"), [&, done](const ConsoleCheckResult &r) {
                heldDuringDone = owner.holder() == LinkUse::Check;
                owner.release(LinkUse::Check);
                done(r);
            });
        });
        ASSERT_TRUE(result);
        EXPECT_TRUE(heldDuringDone);
        EXPECT_EQ(owner.holder(), LinkUse::None);
        EXPECT_EQ(result->verified, QByteArray(c.name) == "verified");
        if (!c.text.isEmpty()) {
            EXPECT_EQ(result->text, c.text);
            continue;
        }
        EXPECT_EQ(result->firmwareVersion, QStringLiteral("V2.00"));
        EXPECT_FALSE(result->text.contains(u'\r'));
        const QStringList lines = result->text.split(u'\n');
        ASSERT_EQ(lines.size(), 11);
        EXPECT_EQ(lines[0], QStringLiteral("*** ファームウエアバージョン ミスマッチ ***"));
        EXPECT_EQ(lines[6], QStringLiteral("使用中のファームウエアバージョン　：　 V2.00"));
    }
}

} // namespace
