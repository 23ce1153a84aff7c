// ferrox-cli reading a split capture's series as one capture: three files,
// the third resumed after a lost link, through timeline, decode and export.
#include "data/datatesting.h"
#include "support/clirun.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace ferrox::testing;

namespace {

class CliSeries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TZ", "UTC"); // the loss is shown in the reader's local time
        const struct { const char *name; QByteArray stream; QByteArray times; } files[] = {
            {"long-00001.dat", byJ1("PQ") + byJ2("abc"),
             "2026-12-07T10:00:00.000000+00:00\n0\t1000\n4\t3000\n"},
            {"long-00002.dat", byJ1("R") + byJ2("de"), "2026-12-07T10:00:00.000000+00:00\n0\t5000\n2\t7000\n"},
            {"long-00003.dat", byJ1("S") + byJ2("f"),
             "2026-12-07T10:00:20.000000+00:00\nlink-lost\t2026-12-07T10:00:10.000000+00:00\n0\t1000\n2\t2500\n"},
        };
        for (const auto &file : files) {
            writeFile(dir.filePath(QLatin1String(file.name)), file.stream + endCode());
            writeFile(dir.filePath(QLatin1String(file.name) + QStringLiteral(".times")), file.times);
        }
    }
    CliRun run(const char *line) { return runCli(words(line), dir.path()); }
    QTemporaryDir dir;
};

const QString linkLost = QStringLiteral("リンク断　開始 2026-12-07T10:00:10.000000+00:00　終了 2026-12-07T10:00:20.000000+00:00");

} // namespace

// The loss stands between the two files' lines, with its start and end.
TEST_F(CliSeries, TimelineShowsTheLostLinkBetweenTheFiles)
{
    const CliRun timeline = run("timeline long-00001.dat --series");
    EXPECT_EQ(timeline.exitCode, 0) << timeline.err.toStdString();
    const QString text = timeline.text();
    const qsizetype loss = text.indexOf(linkLost);
    EXPECT_GT(loss, text.indexOf(QStringLiteral("      0.007000  J1←J2")));
    EXPECT_LT(loss, text.indexOf(QStringLiteral("     20.001000  J1→J2"))) << text.toStdString();
}

// Frames end at each file's end; numbers and the time axis go on.
TEST_F(CliSeries, DecodeNumbersFramesAcrossTheFilesOnOneTimeAxis)
{
    const CliRun decode = run("decode . --series --format csv");
    EXPECT_EQ(decode.exitCode, 0) << decode.err.toStdString();
    const QStringList rows = decode.text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 7) << decode.text().toStdString();
    EXPECT_TRUE(rows.at(5).startsWith(QStringLiteral("5,20001000,19994000,J1,1,53,"))) << rows.at(5).toStdString();
}

TEST_F(CliSeries, ExportKeepsOneTimeAxis)
{
    const CliRun csv = run("export long.dat --series --format csv -o out.csv");
    EXPECT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QList<QByteArray> rows = readFile(dir.filePath(QStringLiteral("out.csv"))).split('\n');
    EXPECT_EQ(rows.value(9), QByteArray("8,J1,53,83,S,20001000\r"));
    EXPECT_TRUE(csv.err.contains(linkLost)) << csv.err.toStdString();
}
