// The .times sidecar: its text, its tolerant reading, where it lives.
#include "data/datatesting.h"

#include "data/sidecar.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

ArrivalTimes sample()
{
    ArrivalTimes times;
    times.startEpochMicros = 1796562051123456; // 2026-12-06T13:00:51.123456Z
    times.startUtcOffsetSeconds = 9 * 3600;
    times.arrivals = {{0, 80}, {6, 1500}, {40, 1500}, {41, 90210}};
    return times;
}

} // namespace

TEST(Sidecar, WritesTheStartWithItsZoneThenOneLinePerArrival)
{
    EXPECT_EQ(formatSidecar(sample()), QByteArray("2026-12-06T22:00:51.123456+09:00\n0\t80\n6\t1500\n40\t1500\n41\t90210\n"));
    const SidecarRead read = parseSidecar(formatSidecar(sample()), 42);
    EXPECT_EQ(read.status, SidecarRead::Status::Loaded);
    EXPECT_EQ(read.times, sample());
}

TEST(Sidecar, StartTimesOfEveryZoneReadBack)
{
    struct Case { const char *text; qint64 epochMicros; int offset; const char *written; };
    const Case cases[] = {
        {"2026-12-06T13:00:51.123456Z", 1796562051123456, 0, "2026-12-06T13:00:51.123456+00:00"},
        {"2026-12-06T08:30:51-04:30", 1796562051000000, -16200, "2026-12-06T08:30:51.000000-04:30"},
        {"2026-12-06T13:00:51.5+00:00", 1796562051500000, 0, "2026-12-06T13:00:51.500000+00:00"},
    };
    for (const Case &c : cases) {
        ArrivalTimes times;
        ASSERT_TRUE(times.setStartText(QString::fromLatin1(c.text))) << c.text;
        EXPECT_EQ(times.startEpochMicros, c.epochMicros) << c.text;
        EXPECT_EQ(times.startUtcOffsetSeconds, c.offset) << c.text;
        EXPECT_EQ(times.startText(), QString::fromLatin1(c.written)) << c.text;
    }
}

TEST(Sidecar, ADoubtfulSidecarIsIgnoredWholeAndSaysWhy)
{
    const QByteArray start = "2026-12-06T22:00:51.123456+09:00\n";
    struct Case { const char *name; QByteArray text; const char16_t *reason; };
    const Case cases[] = {
        {"empty", "", u"途中で切れています"},
        {"last line cut", start + "0\t80\n6\t15", u"途中で切れています"},
        {"no start", "0\t80\n", u"1行目の形式"},
        {"start without zone", "2026-12-06T22:00:51\n", u"1行目の形式"},
        {"zone out of range", "2026-12-06T22:00:51+25:00\n", u"1行目の形式"},
        {"spaces for the tab", start + "0 80\n", u"2行目の形式"},
        {"a sign", start + "0\t-80\n", u"2行目の形式"},
        {"a third field", start + "0\t80\t1\n", u"2行目の形式"},
        {"blank line", start + "0\t80\n\n", u"3行目の形式"},
        {"offset repeated", start + "0\t80\n0\t90\n", u"3行目の順序"},
        {"time falls", start + "0\t80\n6\t70\n", u"3行目の順序"},
        {"past the stream: another file's", start + "0\t80\n42\t90\n", u"モニターデータと合いません"},
    };
    for (const Case &c : cases) {
        const SidecarRead read = parseSidecar(c.text, 42);
        EXPECT_EQ(read.status, SidecarRead::Status::Ignored) << c.name;
        EXPECT_FALSE(read.times) << c.name;
        EXPECT_TRUE(read.note.contains(QString::fromUtf16(c.reason))) << c.name << ": " << read.note.toStdString();
    }
    // CR LF line ends, as an editor may leave them, are read.
    EXPECT_EQ(parseSidecar(start + "0\t80\r\n", 42).status, SidecarRead::Status::Loaded);
}

TEST(Sidecar, LivesBesideItsDataFileAndTravelsWithIt)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("a.dat"));
    EXPECT_EQ(sidecarPath(data), data + QStringLiteral(".times"));
    EXPECT_EQ(readSidecar(data, 42).status, SidecarRead::Status::Missing);

    ASSERT_TRUE(writeSidecar(data, sample()).ok);
    EXPECT_EQ(readSidecar(data, 42).times, sample());
    // A data file that lost half its stream no longer fits its times.
    const SidecarRead shorter = readSidecar(data, 20);
    EXPECT_EQ(shorter.status, SidecarRead::Status::Ignored);
    EXPECT_TRUE(shorter.note.contains(sidecarPath(data)));

    const QString copy = dir.filePath(QStringLiteral("b.dat"));
    ASSERT_TRUE(placeSidecar(copy, sample()).ok);
    EXPECT_EQ(readSidecar(copy, 42).times, sample());
    ASSERT_TRUE(placeSidecar(copy, std::nullopt).ok); // data without times leaves no stale sidecar
    EXPECT_FALSE(QFile::exists(sidecarPath(copy)));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("c.dat.times")));
    EXPECT_EQ(readSidecar(dir.filePath(QStringLiteral("c.dat")), 42).status, SidecarRead::Status::Ignored);
}

TEST(ArrivalTimes, AByteTakesTheTimeOfThePieceHoldingIt)
{
    const ArrivalTimes times = sample();
    const std::pair<qint64, std::optional<qint64>> cases[] = {
        {0, 80}, {5, 80}, {6, 1500}, {39, 1500}, {40, 1500}, {41, 90210}, {1000, 90210}};
    for (const auto &[offset, micros] : cases)
        EXPECT_EQ(times.microsAt(offset), micros) << offset;
    ArrivalTimes late = times;
    late.arrivals.removeFirst();
    EXPECT_EQ(late.microsAt(5), std::nullopt);
}
