// Data files: store, load, cut, refusals; the .times sidecar: its text and its tolerant reading.
#include "datatesting.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

class DataFiles : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DataFiles, SavedCopiesReopenByteForByteWhateverTheyHold)
{
    QByteArray sound;
    for (int i = 0; i < 1000; ++i)
        sound += (i % 2) ? byJ1(QByteArray(1, char(i))) : byJ2(QByteArray(1, char(255 - i % 256)));
    sound += endCode();
    // Faulty data (undefined tags, no end code) is stored unchanged too; the loaded buffer is zero past it.
    const QByteArray odd = bytes({0x12, 0xA4, 0xB1, 0x00, 0xFE, 0x80});
    for (const auto &[raw, end] : {std::pair{sound, 2000}, {odd, 5}}) {
        const QString file = path("rs_data.dat");
        ASSERT_TRUE(StoreMonitorData(streamOf(raw), file).ok);
        EXPECT_EQ(test::readFile(file), raw);
        const LoadResult loaded = LoadMonitorData(file);
        EXPECT_EQ(loaded.status, LoadResult::Status::Loaded);
        EXPECT_EQ(loaded.message, QString());
        EXPECT_EQ(loaded.capture, streamOf(raw));
        EXPECT_EQ(loaded.capture.CaptureEnd(), end);
        for (qint32 i = qint32(raw.size()); i < 3000; ++i)
            ASSERT_EQ(loaded.capture.at(i), 0) << i;
    }
}

TEST_F(DataFiles, AFileLongerThanTheBufferIsCutAndSaysSo)
{
    for (const qint32 length : {CaptureBuffer::Size, CaptureBuffer::Size + 1000}) {
        SCOPED_TRACE(length);
        const QString file = path("long.dat");
        QByteArray raw(length, char(0xA4));
        raw[CaptureBuffer::LastIndex] = char(0x77);
        test::writeFile(file, raw);
        const LoadResult loaded = LoadMonitorData(file);
        const bool cut = length > CaptureBuffer::Size;
        EXPECT_EQ(loaded.status, cut ? LoadResult::Status::Cut : LoadResult::Status::Loaded);
        EXPECT_EQ(loaded.capture.CaptureEnd(), CaptureBuffer::LastIndex);
        EXPECT_EQ(loaded.capture.at(CaptureBuffer::LastIndex), 0x77);
        EXPECT_EQ(loaded.message.contains(QStringLiteral("262145")), cut) << loaded.message.toStdString();
    }
}

TEST_F(DataFiles, EmptyMissingAndFolderAreRefused)
{
    const struct { QString path; LoadResult::Status status; } cases[] = {
        {test::writeFile(path("empty.dat"), QByteArray()), LoadResult::Status::Empty},
        {path("missing.dat"), LoadResult::Status::Unreadable},
        {m_dir.path(), LoadResult::Status::Unreadable},
    };
    for (const auto &c : cases) {
        const LoadResult loaded = LoadMonitorData(c.path);
        EXPECT_EQ(loaded.status, c.status) << c.path.toStdString();
        EXPECT_TRUE(loaded.message.contains(c.path)) << loaded.message.toStdString();
    }
}

TEST(Sidecar, WritesTheStartWithItsZoneThenOneLinePerArrivalAndReadsThemBack)
{
    ArrivalTimes times;
    times.startEpochMicros = 1796562051123456; // 2026-12-06T13:00:51.123456Z
    times.startUtcOffsetSeconds = -(4 * 3600 + 30 * 60);
    times.arrivals = {{0, 80}, {6, 1500}, {41, 90210}};
    const QByteArray text = "2026-12-06T08:30:51.123456-04:30\n0\t80\n6\t1500\n41\t90210\n";
    EXPECT_EQ(formatSidecar(times), text);
    EXPECT_EQ(parseSidecar(text, 42).times, times);

    times.linkLostEpochMicros = times.startEpochMicros - 61500000;
    const QByteArray resumed = "2026-12-06T08:30:51.123456-04:30\nlink-lost\t2026-12-06T08:29:49.623456-04:30\n0\t80\n";
    times.arrivals = {{0, 80}};
    EXPECT_EQ(formatSidecar(times), resumed);
    EXPECT_EQ(parseSidecar(resumed, 42).times, times);

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("a.dat"));
    EXPECT_EQ(readSidecar(data, 42).status, SidecarRead::Status::Missing);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("b.dat.times")));
    EXPECT_EQ(readSidecar(dir.filePath(QStringLiteral("b.dat")), 42).status, SidecarRead::Status::Ignored);
}

TEST(Sidecar, ADoubtfulSidecarIsIgnoredWholeAndSaysWhy)
{
    const QByteArray start = "2026-12-06T22:00:51.5Z\n";
    const struct { const char *name; QByteArray text; const char16_t *reason; } cases[] = {
        {"last line cut", start + "0\t80\n6\t15", u"途中で切れています"},
        {"start without zone", "2026-12-06T22:00:51\n", u"1行目の形式"},
        {"time falls", start + "0\t80\n6\t70\n", u"3行目の順序"},
        {"link lost after the start", start + "link-lost\t2026-12-06T22:00:52Z\n", u"2行目の形式"},
        {"past the stream: another file's", start + "0\t80\n42\t90\n", u"モニターデータと合いません"},
    };
    for (const auto &c : cases) {
        const SidecarRead read = parseSidecar(c.text, 42);
        EXPECT_EQ(read.status, SidecarRead::Status::Ignored) << c.name;
        EXPECT_TRUE(read.note.contains(QString::fromUtf16(c.reason))) << c.name << ": " << read.note.toStdString();
    }
}
