// ferrox-cli and the files it is given: outputs that would destroy an
// input, file names that are not UTF-8, devices as outputs, a split
// capture's series, standard output that cannot be written, and binary
// output kept off a terminal.
#include "support/clirun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace ferrox::test;

namespace {

const QByteArray exchange = readFile(QStringLiteral(FERROX_CLI_TEST_DIR "/data/exchange.dat"));
const QByteArray times = "2026-12-06T22:00:51.250000+09:00\n0\t1000\n";

class CliFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(path("x.dat"), exchange);
        writeFile(path("x.dat.times"), times);
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

// Every spelling of the data file or its arrival times, a link included,
// is refused before anything is written.
TEST_F(CliFiles, NoCommandWritesOverItsInput)
{
    ASSERT_TRUE(QFile::link(path("x.dat"), path("link.dat")));
    const struct { const char *line; const char *told; } cases[] = {
        {"render x.dat -o x.dat", "which is read"},
        {"render x.dat -o sub/../x.dat.times", "which is read"},
        {"render x.dat --mode 3 -o link.dat", "which is read"},
        {"export x.dat --format csv -o ./x.dat.times", "which is read"},
        {"export link.dat --format pcap -o x.dat", "which is read"},
        {"capture --device /dev/null -o x.dat --text ./sub/../x.dat.times", "the arrival times"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(words(c.line), dir.path());
        EXPECT_EQ(run.exitCode, 2) << c.line;
        EXPECT_TRUE(run.err.contains(QLatin1String(c.told))) << c.line << run.err.toStdString();
    }
    EXPECT_EQ(readFile(path("x.dat")), exchange);
    EXPECT_EQ(readFile(path("x.dat.times")), times);
}

// A split capture never overwrites: any file of the series stops it, the
// earlier run's rotated-away pieces and lone sidecars included.
TEST_F(CliFiles, ASplitCaptureRefusesAnExistingSeries)
{
    for (const char *existing : {"long-00007.dat", "long-00012.dat.times", "long-123456.dat"}) {
        SCOPED_TRACE(existing);
        writeFile(path(existing), "earlier");
        const CliRun run = runCli(words("capture --device /dev/null -o long.dat --split-bytes 999 --files 3"), dir.path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QLatin1String(existing))) << run.err.toStdString();
        EXPECT_EQ(readFile(path(existing)), QByteArray("earlier"));
        QFile::remove(path(existing));
    }
    // Names that only look alike are not of the series.
    for (const char *other : {"long-0001.dat", "long-00001.txt", "longer-00001.dat"})
        writeFile(path(other), "other");
    const CliRun run = runCli(words("capture --device ./no-such-device -o long.dat --split-bytes 999"), dir.path());
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
}

// A data file whose name is not UTF-8 finds its arrival times; an output
// through a link to such a name is written through, the link kept.
TEST_F(CliFiles, NamesThatAreNotUtf8KeepTheirSidecarsAndLinks)
{
    const CliRun timeline = runShell(dir.path(), QStringLiteral(
        "cp x.dat \"$(printf 'caf\\351.dat')\" && cp x.dat.times \"$(printf 'caf\\351.dat.times')\" && "
        "TZ=JST-9 \"$0\" timeline \"$(printf 'caf\\351.dat')\""));
    EXPECT_EQ(timeline.exitCode, 0) << timeline.err.toStdString();
    EXPECT_TRUE(timeline.text().contains(QStringLiteral("2026-12-06T22:00:51.250"))) << timeline.out.toStdString();

    const CliRun exported = runShell(dir.path(), QStringLiteral(
        "printf old > \"$(printf 'out\\351.csv')\" && ln -s \"$(printf 'out\\351.csv')\" out.link && "
        "\"$0\" export x.dat --format csv -o out.link && test -L out.link && cat \"$(printf 'out\\351.csv')\""));
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith("index,direction")) << exported.out.toStdString();
    runShell(dir.path(), QStringLiteral("rm -f -- *")); // names the toolkit cannot remove
}

TEST_F(CliFiles, DevicesAreOutputs)
{
    for (const char *line : {"render x.dat -o /dev/null", "export x.dat --format pcap -o /dev/null"}) {
        const CliRun run = runCli(words(line), dir.path());
        EXPECT_EQ(run.exitCode, 0) << line << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("/dev/null.times")));
}

TEST_F(CliFiles, AnEndCodeAloneIsRejectedByEveryCommand)
{
    writeFile(path("end.dat"), QByteArray(1, char(0xFF)));
    for (const char *line : {"examine end.dat", "render end.dat", "timeline end.dat", "export end.dat --format csv -o -",
                             "decode end.dat"}) {
        const CliRun run = runCli(words(line), dir.path());
        EXPECT_EQ(run.exitCode, 4) << line;
    }
}

// A start time hand-edited out of pcap's range is not used: the records
// carry no time and the reason names the sidecar.
TEST_F(CliFiles, PcapRefusesTimesItCannotHold)
{
    for (const char *start : {"1900-01-01T00:00:00+09:00", "9999-12-31T23:59:59+09:00"}) {
        writeFile(path("x.dat.times"), QByteArray(start) + "\n0\t1000\n");
        const CliRun run = runCli(words("export x.dat --format pcap -o -"), dir.path());
        EXPECT_EQ(run.exitCode, 0) << start;
        EXPECT_TRUE(run.err.contains(QStringLiteral("x.dat.times"))) << run.err.toStdString();
        EXPECT_EQ(run.out.mid(24, 4), QByteArray(4, '\0')) << start << ": the first record's seconds";
    }
}

// Runs ferrox-cli in `folder` with its standard output a pipe whose reader
// has gone before it starts: every write fails with EPIPE.
CliRun runIntoGoneReader(const QStringList &arguments, const QString &folder)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    ::close(ends[0]);
    QProcess cli;
    cli.setWorkingDirectory(folder);
    cli.setChildProcessModifier([writeEnd = ends[1]] { ::dup2(writeEnd, STDOUT_FILENO); });
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    const CliRun run = endedRun(cli);
    ::close(ends[1]);
    return run;
}

// Every command that writes standard output, or a device, reports a failed
// write with status 1; a reader that went away ends it quietly with the
// status it has when read whole (0 for these data).
TEST_F(CliFiles, StandardOutputFailuresAreReported)
{
    for (const char *line : {"examine x.dat", "--version", "-V", "help", "help help", "timeline x.dat", "render x.dat",
                             "decode x.dat", "export x.dat --format csv -o -", "export x.dat --format csv -o /dev/stdout"}) {
        SCOPED_TRACE(line);
        const CliRun full = runCli(words(line), dir.path(), QStringLiteral("/dev/full"));
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_TRUE(full.err.contains(QStringLiteral("ディスクの空き容量が足りません。"))) << full.err.toStdString();
        const CliRun gone = runIntoGoneReader(words(line), dir.path());
        EXPECT_EQ(gone.exitCode, 0) << gone.err.toStdString();
        EXPECT_FALSE(gone.err.contains(QStringLiteral("書き込めませんでした"))) << gone.err.toStdString();
        EXPECT_FALSE(gone.err.contains(QStringLiteral("could not be written"))) << gone.err.toStdString();
    }
}

// Not-a-number and infinity are no numbers for any option: each is a usage
// error before anything is read or opened.
TEST_F(CliFiles, NonFiniteNumbersAreRefused)
{
    for (const char *line : {"decode x.dat --gap nan", "decode x.dat --gap inf", "decode x.dat --gap -inf",
                             "monitor --device /nonexistent --seconds nan", "capture --device /nonexistent -o y.dat --seconds inf",
                             "measure --device /nonexistent --seconds 1e999", "monitor --device /nonexistent --gap nan"}) {
        SCOPED_TRACE(line);
        const CliRun run = runCli(words(line), dir.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral(" takes a number"))) << run.err.toStdString();
    }
}

// Binary output is refused on a terminal before anything is written: it
// would show as noise, and the monitored line's bytes could pass for the
// terminal's control sequences.
TEST_F(CliFiles, BinaryOutputIsNotWrittenToATerminal)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QString terminal = QString::fromLocal8Bit(::ptsname(master));
    for (const char *line : {"export x.dat --format pcap -o -", "monitor --device /nonexistent --format pcap",
                             "capture --device /nonexistent -o -", "capture --device /nonexistent --format pcap -o y.dat"}) {
        SCOPED_TRACE(line);
        const CliRun run = runCli(words(line), dir.path(), terminal);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QStringLiteral("will not write"))) << run.err.toStdString();
    }
    char received[64];
    EXPECT_LE(::read(master, received, sizeof received), 0) << "nothing reached the terminal";
    ::close(master);
}

} // namespace
