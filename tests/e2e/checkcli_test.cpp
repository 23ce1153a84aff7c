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

QStringList args(const char *spaced)
{
    return QString::fromLatin1(spaced).split(u' ', Qt::SkipEmptyParts);
}

// A verified board prints its reply line and firmware; anything else exits
// with 3 and the reason on stderr.
TEST(CheckCli, VerifiedOrTheReason)
{
    const QString noBoard = QStringLiteral("*** ボードと通信ができませんでした ***");
    const struct
    {
        const char *board, *cli;
        int exitCode;
        QString start; // of stdout when verified, else of stderr
    } cases[] = {
        {"--firmware V1.01", "", 0, QStringLiteral("Ferrox LM V1.01")},
        {"--firmware V1.04 --jumper 115200", "--pc-speed 115200 --dtr --rts", 0, QStringLiteral("Ferrox LM V1.04")},
        {"--silent", "", 3, noBoard},
        {"", "--pc-speed 115200", 3, noBoard},
        {"--firmware V2.00", "", 3, QStringLiteral("*** ファームウエアバージョン ミスマッチ ***")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.board) + " / " + c.cli);
        BoardProcess board(args(c.board));
        FERROX_START_BOARD(board);
        const CliRun run = runCheck(QStringList{QStringLiteral("--device"), board.linkPath()} + args(c.cli));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.err.startsWith(c.start)) << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
            continue;
        }
        const QStringList lines = run.out.split(u'\n');
        ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.start));
        EXPECT_TRUE(lines[0].endsWith(board.linkPath() + QStringLiteral(":通信確認ＯＫ。")));
        EXPECT_EQ(lines[1], c.start.right(5));
        EXPECT_TRUE(run.err.isEmpty());
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
