// ferrox-cli's link options held against what the board's firmware and
// the link speed offer, the same way by every link command, its defaults
// as a first run's settings, and its port failures as a terminal shows
// them.
#include "boardprocess.h"
#include "support/clirun.h"

#include "settings/settingsschema.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString unsupportedSpeed = QStringLiteral("設定された通信スピードがサポートされていません。");

} // namespace

// A choice the window's panel would not list for the board is refused
// after the check, before the board is set up, with the link failure's
// status; the board then answers the next check at once. (Which choices
// each firmware and link offer: the link's protocol tests.)
TEST(LinkOptionsCli, ChoicesTheFirmwareDoesNotOfferAreRefusedByEveryCommand)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("x.dat"));
    const struct { const char *name; const char *board; const char *options; const QString told; } cases[] = {
        {"monitor, a speed V1.01 lacks", "--firmware V1.01", "monitor --seconds 2 --monitor-speed 600", unsupportedSpeed},
        {"a data width V1.01 lacks", "--firmware V1.01", "capture --seconds 2 --data-width 9", QStringLiteral("--data-width 9")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BoardProcess board(words(c.board));
        FERROX_START_BOARD(board);
        QStringList arguments = words(c.options) << QStringLiteral("--device") << board.linkPath();
        if (arguments.first() == QLatin1String("capture"))
            arguments << QStringLiteral("-o") << data;
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.told)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(QFile::exists(data));
        EXPECT_EQ(runCli(words("check --device") << board.linkPath()).exitCode, 0);
    }
}

// Without --monitor-speed the board is set to a first run's monitored
// speed, which its version reply shows ("Ferrox LM V1.05  9600bps").
TEST(LinkOptionsCli, TheDefaultMonitoredSpeedIsAFirstRunsSetting)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const CliRun run = runCli(words("capture --seconds 0.3 --device") << board.linkPath() << QStringLiteral("-o")
                                                                      << dir.filePath(QStringLiteral("x.dat")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString schemaDefault = speedText(*monitorSpeedOf(settingkey::monitorSpeed().defaultText));
    EXPECT_TRUE(run.err.contains(schemaDefault + QStringLiteral("bps\n"))) << run.err.toStdString();
}

// Wireshark's configuration offers only the monitored speeds the link
// allows, and asks again for them when the link speed changes.
TEST(LinkOptionsCli, TheExtcapOffersTheSpeedsOfTheLink)
{
    qputenv("FERROX_COM1", "/dev/null");
    const auto offered = [](const char *options) {
        const CliRun run = runCli(words("extcap --extcap-interface ferrox-COM1 --extcap-config") << words(options));
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.text();
    };
    const QString slow = offered("");
    EXPECT_TRUE(slow.contains(QStringLiteral("{value=28800}")));
    EXPECT_FALSE(slow.contains(QStringLiteral("{arg=2}{value=38400}")));
    EXPECT_TRUE(slow.contains(QStringLiteral("{call=--monitor-speed}{display=Monitored speed}{type=selector}{reload=true}")));
    const QString fast = offered("--pc-speed 115200 --extcap-reload-option monitor-speed");
    EXPECT_TRUE(fast.startsWith(QStringLiteral("value {arg=2}{value=9600}")));
    EXPECT_TRUE(fast.contains(QStringLiteral("{arg=2}{value=57600}")));
}

// A port that fails while the board streams is told on one line with the
// reason in words: not the message box's padding and a bare code.
TEST(PortMessagesCli, APortFailureIsOneLineWithItsReason)
{
    QTemporaryDir dir;
    BoardProcess board(words("--traffic demo --loop --hangup-after 0.5"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(words("capture -o") << dir.filePath(QStringLiteral("x.dat")) << QStringLiteral("--device")
                                                  << board.linkPath());
    EXPECT_EQ(run.exitCode, 3);
    const QStringList told = run.err.split(u'\n').filter(QStringLiteral(" は使用できませんでした。"));
    ASSERT_EQ(told.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(told.first().endsWith(u'。')) << told.first().toStdString();
    EXPECT_TRUE(told.first().contains(QStringLiteral("ハングアップ"))) << told.first().toStdString();
    EXPECT_FALSE(told.first().contains(QChar(0x3000))) << "no ideographic padding";
}
