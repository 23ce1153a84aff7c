// Data files: store, load, cut, refusals, atomic writes.
#include "datatesting.h"

#include "data/datafiles.h"
#include "data/monitordata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class DataFiles : public ::testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DataFiles, ThousandMonitoredBytesRoundTrip)
{
    QByteArray raw;
    for (int i = 0; i < 1000; ++i)
        raw += (i % 2) ? byJ1(QByteArray(1, char(i))) : byJ2(QByteArray(1, char(255 - i % 256)));
    const CaptureBuffer capture = streamOf(raw + endCode());
    ASSERT_EQ(capture.CaptureEnd(), 2000);

    const QString file = path("rs_data.dat");
    ASSERT_TRUE(StoreMonitorData(capture, file).ok);
    const QByteArray stored = readAll(file);
    EXPECT_EQ(stored.size(), 2001);
    EXPECT_EQ(std::uint8_t(stored.back()), 0xFF);

    const LoadResult loaded = LoadMonitorData(file);
    EXPECT_EQ(loaded.status, LoadResult::Status::Loaded);
    EXPECT_TRUE(loaded.message.isEmpty());
    EXPECT_EQ(loaded.capture.CaptureEnd(), 2000);
    EXPECT_EQ(loaded.capture, capture);
    EXPECT_EQ(loaded.capture.DataByteCount(), 1000);
}

TEST_F(DataFiles, SavedCopyReopensByteForByteWhateverItHolds)
{
    // Faulty data (undefined tags, no end code) is stored unchanged too.
    const QByteArray raw = bytes({0x12, 0xA4, 0xB1, 0x00, 0xFE, 0x80});
    const QString file = path("odd.dat");
    ASSERT_TRUE(StoreMonitorData(streamOf(raw), file).ok);
    EXPECT_EQ(readAll(file), raw);
    const LoadResult loaded = LoadMonitorData(file);
    EXPECT_EQ(loaded.capture.stream().toByteArray(), raw);
    EXPECT_EQ(loaded.capture.CaptureEnd(), 5);
}

TEST_F(DataFiles, LoadedBufferIsZeroBeyondTheStream)
{
    CaptureBuffer dirty = streamOf(QByteArray(100, char(0x55)));
    const QString file = path("short.dat");
    writeRaw(file, bytes({0xA4, 0xB1, 0xFF}));
    const LoadResult loaded = LoadMonitorData(file);
    for (qint32 i = 3; i < 100; ++i)
        ASSERT_EQ(loaded.capture.at(i), 0) << i;
    EXPECT_NE(loaded.capture, dirty);
}

TEST_F(DataFiles, LongFileIsCutToTheBufferAndSaysSo)
{
    const QString file = path("long.dat");
    QByteArray raw(CaptureBuffer::Size + 1000, char(0xA4));
    raw[CaptureBuffer::LastIndex] = char(0x77);
    writeRaw(file, raw);
    const LoadResult loaded = LoadMonitorData(file);
    EXPECT_EQ(loaded.status, LoadResult::Status::Cut);
    EXPECT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.capture.CaptureEnd(), CaptureBuffer::LastIndex);
    EXPECT_EQ(loaded.capture.at(CaptureBuffer::LastIndex), 0x77);
    EXPECT_TRUE(loaded.message.contains(QStringLiteral("262145"))) << loaded.message.toStdString();
}

TEST_F(DataFiles, ExactlyBufferSizedFileIsNotCut)
{
    const QString file = path("full.dat");
    writeRaw(file, QByteArray(CaptureBuffer::Size, char(0xFF)));
    const LoadResult loaded = LoadMonitorData(file);
    EXPECT_EQ(loaded.status, LoadResult::Status::Loaded);
    EXPECT_EQ(loaded.capture.CaptureEnd(), CaptureBuffer::LastIndex);
}

TEST_F(DataFiles, EmptyMissingAndFolderAreRefused)
{
    const QString empty = path("empty.dat");
    writeRaw(empty, QByteArray());
    struct Case { QString path; LoadResult::Status status; };
    const Case cases[] = {
        {empty, LoadResult::Status::Empty},
        {path("missing.dat"), LoadResult::Status::Unreadable},
        {m_dir.path(), LoadResult::Status::Unreadable},
        {QString(), LoadResult::Status::Unreadable},
    };
    for (const Case &c : cases) {
        const LoadResult loaded = LoadMonitorData(c.path);
        EXPECT_EQ(loaded.status, c.status) << c.path.toStdString();
        EXPECT_FALSE(loaded.ok());
        EXPECT_FALSE(loaded.message.isEmpty());
        EXPECT_TRUE(c.path.isEmpty() || loaded.message.contains(c.path)) << loaded.message.toStdString();
    }
}

TEST_F(DataFiles, FileExistsOnlyForReadableFiles)
{
    const QString file = path("a.dat");
    writeRaw(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(path("none.dat")));
    EXPECT_FALSE(FileExists(m_dir.path()));
    EXPECT_FALSE(FileExists(QString()));
}

TEST_F(DataFiles, FailedWriteNamesTheFileAndLeavesNothingBehind)
{
    // A file where a folder should be: no one can write below it.
    const QString blocker = path("blocker");
    writeRaw(blocker, "keep");
    const QString target = blocker + QStringLiteral("/rs_text.rsm");
    const FileWriteResult result = writeFileAtomically(target, "text");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains(target)) << result.message.toStdString();
    EXPECT_EQ(readAll(blocker), QByteArray("keep"));
}

TEST_F(DataFiles, ReplacesAnExistingFileWhole)
{
    const QString file = path("rs_text.rsm");
    writeRaw(file, QByteArray(5000, 'o'));
    ASSERT_TRUE(writeFileAtomically(file, "new").ok);
    EXPECT_EQ(readAll(file), QByteArray("new"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rs_text.rsm")});
}

TEST_F(DataFiles, ReadOnlyFileIsNotReplaced)
{
    const QString file = path("locked.dat");
    writeRaw(file, "old");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const FileWriteResult result = writeFileAtomically(file, "new");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains(file));
    EXPECT_EQ(readAll(file), QByteArray("old"));
}

TEST(MonitorData, TitleCarriesTheName)
{
    MonitorData data;
    data.CaptureTimestamp = QStringLiteral("/logs/a.dat");
    EXPECT_EQ(data.CaptureTitle(), QStringLiteral("現在のモニターデータ : /logs/a.dat"));
    // The header's data name is the title from its 14th character.
    EXPECT_EQ(data.CaptureTitle().mid(13), data.CaptureTimestamp);
}

TEST(CaptureBufferValue, BoundsAndCopies)
{
    CaptureBuffer capture;
    EXPECT_EQ(capture.CaptureEnd(), 0);
    capture.setCaptureEnd(CaptureBuffer::Size + 5);
    EXPECT_EQ(capture.CaptureEnd(), CaptureBuffer::LastIndex);
    capture.setCaptureEnd(-3);
    EXPECT_EQ(capture.CaptureEnd(), 0);
    capture.setAt(-1, 0x11);
    capture.setAt(CaptureBuffer::Size, 0x11);
    EXPECT_EQ(capture.at(CaptureBuffer::Size), 0);

    CaptureBuffer copy = capture;
    copy.setAt(0, 0xA4);
    EXPECT_EQ(capture.at(0), 0); // a copy is a value of its own
    EXPECT_EQ(copy.at(0), 0xA4);
    EXPECT_EQ(CaptureBuffer::fromStream({}).CaptureEnd(), 0);
}
