// ferrox-cli render and examine, as scripts see them: bytes on standard
// output, messages on standard error, exit status.
#include "support/clirun.h"
#include "version/programinfo.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferrox::test;

namespace {

// Runs ferrox-cli in the data folder, so file names are given as written.
CliRun runInData(const QStringList &arguments)
{
    return runCli(arguments, QStringLiteral(FERROX_CLI_TEST_DIR "/data"));
}

// The expected files name the version as @VERSION@, so a new version number changes no expected output.
QByteArray expected(const char *name)
{
    return readFile(QStringLiteral(FERROX_CLI_TEST_DIR "/expected/") + QLatin1String(name))
        .replace("@VERSION@", ferrox::versionNumberText().toLatin1());
}

} // namespace

TEST(CliRender, OutputMatchesTheExpectedFiles)
{
    // One run per mode; malformed data gives the lines rendered so far and status 4.
    const struct { QStringList arguments; const char *expectedFile; QString err; int exitCode = 0; } cases[] = {
        {words("render conversation.dat"), "conversation.mode1.rsm", QStringLiteral("receive errors: 1\n")},
        {words("render malformed.dat --mode 2"), "malformed.mode2.rsm", QStringLiteral("モニターデータにエラーがありました。"), 4},
        {words("render --mode 5 conversation.dat"), "conversation.mode5.rsm", QStringLiteral("receive errors: 1\n")},
        {words("render exchange.dat --mode 4 --name 2026年12月06日15:49:59 --port COM3 --pc-speed 115200 "
               "--monitor-speed 19200 --direction J1→J2 --data-width 9"),
         "exchange.mode4.settings.rsm", QStringLiteral("receive errors: 0\n")},
    };
    for (const auto &c : cases) {
        const std::string label = c.arguments.join(QLatin1Char(' ')).toStdString();
        const CliRun run = runInData(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << label << "\n" << run.err.toStdString();
        EXPECT_EQ(run.out, expected(c.expectedFile)) << label;
        if (c.exitCode == 0)
            EXPECT_EQ(run.err, c.err) << label;
        else
            EXPECT_TRUE(run.err.contains(c.err)) << label << "\n" << run.err.toStdString();
    }
}

TEST(CliRender, RefusalsAndFailures)
{
    QTemporaryDir dir; // a file where the output's folder should be
    const QString unwritable = writeFile(dir.filePath(QStringLiteral("blocker")), {}) + QStringLiteral("/out.rsm");

    const struct { QStringList arguments; int exitCode; QString message; } cases[] = {
        {words("render missing.dat"), 1, QStringLiteral("モニタデータファイル(missing.dat)が存在しませんでした。")},
        {words("render empty.dat"), 4, QStringLiteral("モニタデータファイル(empty.dat)にデータがありませんでした。")},
        {QStringList{QStringLiteral("render"), QStringLiteral("exchange.dat"), QStringLiteral("-o"), unwritable}, 1, unwritable},
        {words("render exchange.dat --mode 6"), 2, QStringLiteral("--mode")},
        {words("render exchange.dat --encoding latin1"), 2, QStringLiteral("--encoding takes cp932 or utf8")},
        // One output for two contents would lose the data.
        {words("capture --device /dev/null -o same.dat --text ./same.dat"), 2, QStringLiteral("the same output")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliRun run = runInData(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(run.out, QByteArray());
    }
    EXPECT_FALSE(QFile::exists(unwritable));
}

// The version line and each command's help page are the install test's.
TEST(CliConventions, HelpOptionsAndPorts)
{
    for (const char *line : {"render --help", "examine -h"}) {
        const CliRun run = runInData(words(line));
        EXPECT_EQ(run.exitCode, 0) << line;
        EXPECT_TRUE(run.out.startsWith("usage: ferrox-cli")) << line;
    }
    EXPECT_EQ(runInData(words("ports")).exitCode, 0); // devices or none, either way no failure
}

// Standard output by "-" and by default (a file by -o: below); code page 932
// unless UTF-8 is chosen or the text goes to a terminal.
TEST(CliRender, OutputAndEncodingChoices)
{
    for (const auto &[line, out] : {std::pair{"render conversation.dat --mode=3 -o -", "conversation.mode3.rsm"},
                                    std::pair{"render conversation.dat --mode 3 --utf8", "conversation.mode3.utf8.txt"}}) {
        const CliRun run = runInData(words(line));
        EXPECT_EQ(run.exitCode, 0) << line;
        EXPECT_EQ(run.out, expected(out)) << line;
    }

    // On a terminal (script(1) gives one): UTF-8, unless cp932 is asked for.
    const QString heading = QStringLiteral("モニターデータ");
    for (const auto &[options, isUtf8] : {std::pair{"", true}, std::pair{" --encoding cp932", false}}) {
        QProcess terminal;
        terminal.setWorkingDirectory(QStringLiteral(FERROX_CLI_TEST_DIR "/data"));
        terminal.start(QStringLiteral("script"), {QStringLiteral("-qec"), QStringLiteral(FERROX_CLI_BINARY " render conversation.dat")
                                                  + QLatin1String(options), QStringLiteral("/dev/null")});
        ASSERT_TRUE(terminal.waitForFinished(30000));
        EXPECT_EQ(terminal.readAllStandardOutput().contains(heading.toUtf8()), isUtf8) << options;
    }
}

// An empty file is refused as by render, above.
TEST(CliExamine, CountsSequenceErrorsAndRejectsAsTheProgramWould)
{
    const struct { const char *line; int exitCode; const char *out; } cases[] = {
        {"examine exchange.dat", 0, "sequence errors: 0\n"},
        {"examine conversation.dat", 4, "sequence errors: 3\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = runInData(words(c.line));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.line;
        EXPECT_EQ(run.out, QByteArray(c.out)) << c.line;
    }
}
