// The .times sidecar: its text and its tolerant reading.
#include "datatesting.h"

#include "data/sidecar.h"

#include <QDir>
#include <QTemporaryDir>

using namespace ferrox;

TEST(Sidecar, WritesTheStartWithItsZoneThenOneLinePerArrivalAndReadsThemBack)
{
    ArrivalTimes times;
    times.startEpochMicros = 1796562051123456; // 2026-12-06T13:00:51.123456Z
    times.startUtcOffsetSeconds = -(4 * 3600 + 30 * 60);
    times.arrivals = {{0, 80}, {6, 1500}, {41, 90210}};
    const QByteArray text = "2026-12-06T08:30:51.123456-04:30\n0\t80\n6\t1500\n41\t90210\n";
    EXPECT_EQ(formatSidecar(times), text);
    EXPECT_EQ(parseSidecar(text, 42).times, times);

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("a.dat"));
    EXPECT_EQ(readSidecar(data, 42).status, SidecarRead::Status::Missing);
    ASSERT_TRUE(writeSidecar(data, times).ok);
    EXPECT_EQ(readSidecar(data, 42).times, times);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("b.dat.times")));
    EXPECT_EQ(readSidecar(dir.filePath(QStringLiteral("b.dat")), 42).status, SidecarRead::Status::Ignored);
}

TEST(Sidecar, ADoubtfulSidecarIsIgnoredWholeAndSaysWhy)
{
    const QByteArray start = "2026-12-06T22:00:51.5Z\n";
    struct Case { const char *name; QByteArray text; const char16_t *reason; };
    const Case cases[] = {
        {"last line cut", start + "0\t80\n6\t15", u"途中で切れています"},
        {"start without zone", "2026-12-06T22:00:51\n", u"1行目の形式"},
        {"time falls", start + "0\t80\n6\t70\n", u"3行目の順序"},
        {"past the stream: another file's", start + "0\t80\n42\t90\n", u"モニターデータと合いません"},
    };
    for (const Case &c : cases) {
        const SidecarRead read = parseSidecar(c.text, 42);
        EXPECT_EQ(read.status, SidecarRead::Status::Ignored) << c.name;
        EXPECT_TRUE(read.note.contains(QString::fromUtf16(c.reason))) << c.name << ": " << read.note.toStdString();
    }
}
