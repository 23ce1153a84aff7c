// ferrox-cli's PNG charts come from its chart painter, a program of its
// own: a copy of ferrox-cli without it, or with one that fails, says so,
// ends with status 1 and leaves the chart's file as it was. The same for
// its link program, which runs the commands that talk to a board.
#include "support/clirun.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferrox::test;

namespace {

class CliChart : public testing::Test
{
protected:
    void SetUp() override
    {
        // A copy in a tree of its own finds the painter where an installed
        // one does, relative to itself; the built painter lies there too.
        const QDir cliDir = QFileInfo(QStringLiteral(FERROX_CLI_BINARY)).absoluteDir();
        painter = dir.filePath(QStringLiteral("bin/") + cliDir.relativeFilePath(QStringLiteral(FERROX_CHART_BINARY)));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QFileInfo(painter).absolutePath()));
        ASSERT_EQ(runShell(dir.path(), QStringLiteral("mkdir -p bin && cp \"$0\" bin/ferrox-cli")).exitCode, 0);
        writeFile(path("x.dat"), readFile(QStringLiteral(FERROX_CLI_TEST_DIR "/data/exchange.dat")));
        writeFile(path("x.dat.times"), "2026-12-06T22:00:51.250000+09:00\n0\t1000\n");
    }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    CliRun chart(const char *name) const
    {
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.start(path("bin/ferrox-cli"), {QStringLiteral("timeline"), QStringLiteral("x.dat"), QStringLiteral("--chart"),
                                           QLatin1String(name)});
        return endedRun(cli);
    }
    QTemporaryDir dir;
    QString painter;
};

} // namespace

TEST_F(CliChart, WithoutItsPainterAPngChartFailsClearlyAndSvgNeedsNone)
{
    const CliRun png = chart("chart.png");
    EXPECT_EQ(png.exitCode, 1);
    EXPECT_TRUE(png.err.contains(QDir::cleanPath(painter) + QStringLiteral(" is missing"))) << png.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("chart.png")));
    EXPECT_FALSE(png.out.isEmpty()) << "the table is still printed";

    const CliRun svg = chart("chart.svg");
    EXPECT_EQ(svg.exitCode, 0) << svg.err.toStdString();
    EXPECT_TRUE(readFile(path("chart.svg")).startsWith("<?xml"));
}

TEST_F(CliChart, WithoutItsLinkProgramABoardCommandFailsClearly)
{
    QProcess cli;
    cli.start(path("bin/ferrox-cli"), {QStringLiteral("ports")});
    const CliRun ports = endedRun(cli);
    EXPECT_EQ(ports.exitCode, 1);
    EXPECT_TRUE(ports.err.contains(QStringLiteral("/ferrox-cli-link could not be started"))) << ports.err.toStdString();
}

TEST_F(CliChart, APainterThatFailsLeavesTheChartFileAsItWas)
{
    const struct
    {
        const char *script;
        const char *told;
    } painters[] = {
        {"kill -SEGV $$", " crashed"},
        {"echo 'no fonts' >&2; exit 3", " failed (exit status 3)"},
        {"echo 'not a picture'", " gave no PNG"},
    };
    for (const auto &fake : painters) {
        writeFile(painter, QByteArray("#!/bin/sh\n") + fake.script + '\n');
        QFile(painter).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(path("chart.png"), "the chart before");
        const CliRun run = chart("chart.png");
        EXPECT_EQ(run.exitCode, 1) << fake.script;
        EXPECT_TRUE(run.err.contains(QLatin1String(fake.told))) << run.err.toStdString();
        EXPECT_EQ(readFile(path("chart.png")), "the chart before") << fake.script;
    }
}
