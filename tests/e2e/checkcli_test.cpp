// ferrox-cli check against the simulated board on a pseudo-terminal.
#include "boardprocess.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace ferrox::test;

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCheck(const QStringList &options)
{
    QProcess cli;
    cli.start(QStringLiteral(FERROX_CLI_BINARY), QStringList{QStringLiteral("check")} + options);
    CliRun run;
    if (!cli.waitForFinished(10000)) {
        cli.kill();
        cli.waitForFinished(3000);
        run.err = QStringLiteral("<did not end>");
        return run;
    }
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = QString::fromUtf8(cli.readAllStandardOutput());
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

TEST(CheckCli, PrintsTheReplyAndFirmwareOfEveryFirmwareAtBothSpeeds)
{
    for (const char *firmware : {"V1.01", "V1.02", "V1.03", "V1.04", "V1.05"}) {
        for (const char *speed : {"57600", "115200"}) {
            SCOPED_TRACE(std::string(firmware) + " " + speed);
            BoardProcess board({QStringLiteral("--firmware"), QLatin1String(firmware), QStringLiteral("--jumper"),
                                QLatin1String(speed)});
            FERROX_START_BOARD(board);
            const CliRun run = runCheck({QStringLiteral("--device"), board.linkPath(), QStringLiteral("--pc-speed"),
                                         QLatin1String(speed), QStringLiteral("--dtr"), QStringLiteral("--rts")});
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            const QStringList lines = run.out.split(u'\n');
            ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
            EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Ferrox LM ") + QLatin1String(firmware)));
            EXPECT_TRUE(lines[0].endsWith(board.linkPath() + QStringLiteral(":通信確認ＯＫ。")));
            EXPECT_EQ(lines[1], QLatin1String(firmware));
            EXPECT_TRUE(run.err.isEmpty());
        }
    }
}

TEST(CheckCli, FailsCleanlyWithTheReason)
{
    struct Case
    {
        const char *name;
        QStringList boardOptions;
        QStringList cliOptions;
        QString reasonStart;
    };
    const QString noBoard = QStringLiteral("*** ボードと通信ができませんでした ***");
    const QList<Case> cases{
        {"silent", {QStringLiteral("--silent")}, {}, noBoard},
        {"jumper", {}, {QStringLiteral("--pc-speed"), QStringLiteral("115200")}, noBoard},
        {"21 bytes", {QStringLiteral("--reply-len"), QStringLiteral("21")}, {}, noBoard},
        {"foreign", {QStringLiteral("--id"), QStringLiteral("Other Box")}, {}, noBoard},
        {"firmware", {QStringLiteral("--firmware"), QStringLiteral("V2.00")}, {},
         QStringLiteral("*** ファームウエアバージョン ミスマッチ ***")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BoardProcess board(c.boardOptions);
        FERROX_START_BOARD(board);
        const CliRun run = runCheck(QStringList{QStringLiteral("--device"), board.linkPath()} + c.cliOptions);
        EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(c.reasonStart)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(CheckCli, MissingDeviceAndBadArguments)
{
    BoardProcess board;
    CliRun run = runCheck({QStringLiteral("--device"), board.missingPath()});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.startsWith(board.missingPath() + QStringLiteral(" は使用できませんでした。")))
        << run.err.toStdString();

    for (const QStringList &bad : {QStringList{}, QStringList{QStringLiteral("--device"), board.missingPath(),
                                                              QStringLiteral("--pc-speed"), QStringLiteral("9600")}}) {
        run = runCheck(bad);
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    }
}

} // namespace
