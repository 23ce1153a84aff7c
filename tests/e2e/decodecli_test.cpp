// ferrox-cli decode over a capture of the simulated board's Modbus RTU
// conversation: every request and response named and paired; and what it
// says about data it can only partly decode.
#include "boardprocess.h"
#include "support/clirun.h"

#include "data/datatesting.h"
#include "support/testfiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace ferrox::test;
using namespace ferrox::testing;

namespace {

QList<QJsonObject> jsonLines(const QString &out)
{
    QList<QJsonObject> objects;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
        objects << QJsonDocument::fromJson(line.toUtf8()).object();
    return objects;
}

} // namespace

// The names, verdicts and pairing rules are the decoder's tests; here, a
// capture's requests each paired, its times reaching the response times.
TEST(DecodeCli, PairsAndTimesEveryRequestAndResponseOfACapturedModbusConversation)
{
    QTemporaryDir dir;
    BoardProcess board(words("--traffic modbus --rate 2000"));
    FERROX_START_BOARD(board);
    const QString data = dir.filePath(QStringLiteral("modbus.dat"));
    const CliRun capture = runCli(words("capture --device") << board.linkPath() << QStringLiteral("-o") << data
                                                            << words("--seconds 2"));
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();

    const CliRun run = runCli(QStringList {QStringLiteral("decode"), data} << words("--decoder modbus-rtu --format jsonl"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> frames = jsonLines(run.text());
    ASSERT_EQ(frames.size(), 20) << run.out.toStdString();
    for (int i = 0; i < 20; i += 2)
        EXPECT_EQ(frames.at(i).value(QStringLiteral("paired_with")).toInt(), i + 2) << "request " << i;
    EXPECT_TRUE(frames.at(1).value(QStringLiteral("response_us")).isDouble()) << "the capture's times give response times";
    EXPECT_EQ(frames.at(19).value(QStringLiteral("problem")).toString(), QStringLiteral("例外コード02 ILLEGAL DATA ADDRESS"));
}

// A poll every 100 ms, each message in one read, the first with a broken
// CRC: its silences end the frames without --gap, and --only picks by kind.
TEST(DecodeCli, SparseModbusTrafficDecodesIntoItsFramesAndOnlyPicksByKind)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("mb.dat")),
                                   byJ1(QByteArray::fromHex("1103006B00032387")) + byJ1(QByteArray::fromHex("110400080001B298"))
                                       + byJ2(QByteArray::fromHex("110402000AF8F4")) + endCode());
    writeFile(data + QStringLiteral(".times"), "2026-12-06T22:00:51.250000+09:00\n0\t0\n16\t100000\n32\t110000\n");
    const QStringList decode = QStringList {QStringLiteral("decode"), data} << words("--decoder modbus-rtu --format jsonl");
    const CliRun run = runCli(decode);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> frames = jsonLines(run.text());
    ASSERT_EQ(frames.size(), 3) << run.out.toStdString();
    const QList<QJsonObject> crc = jsonLines(runCli(QStringList(decode) << words("--only crc")).text());
    ASSERT_EQ(crc.size(), 1);
    EXPECT_EQ(crc.at(0).value(QStringLiteral("number")).toInt(), 1);
    EXPECT_EQ(runCli(QStringList {QStringLiteral("decode"), data} << words("--only crcs")).exitCode, 2);
}

TEST(TimelineChartCli, WritesTheResponseTimeChartAsPngWhateverTheSuffixsCase)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("poll.dat")), byJ1("PQ") + byJ2("abc") + byJ1("R") + endCode());
    writeFile(data + QStringLiteral(".times"), "2026-12-06T22:00:51.250000+09:00\n0\t1000\n4\t3500\n10\t9000\n");
    // The option takes the suffix in either case; an upper-case one once
    // aborted the tool. (SVG: the chart painter's tests.)
    const QString chart = dir.filePath(QStringLiteral("CHART.PNG"));
    const CliRun run = runCli({QStringLiteral("timeline"), data, QStringLiteral("--chart"), chart});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(readFile(chart).startsWith("\x89PNG"));
    EXPECT_EQ(runCli({QStringLiteral("timeline"), data, QStringLiteral("--chart"), dir.filePath(QStringLiteral("c.gif"))}).exitCode, 2);
}
