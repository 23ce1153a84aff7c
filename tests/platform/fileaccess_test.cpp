// File access: the reasons messages give, refusals of folders and named
// pipes that never block, and replacements that leave nothing half done.
#include "platform/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ferrox;

namespace {

TEST(FileErrorReason, CommonCasesAreJapaneseOthersTheSystemsWords)
{
    const std::pair<FileError, const char16_t *> cases[] = {
        {ENOENT, u"ファイルまたはフォルダが見つかりません。"},
        {ENOTDIR, u"ファイルまたはフォルダが見つかりません。"},
        {EACCES, u"アクセスが拒否されました。"},
        {EPERM, u"アクセスが拒否されました。"},
        {EISDIR, u"ファイルではなくフォルダです。"},
        {ENOSPC, u"ディスクの空き容量が足りません。"},
        {EDQUOT, u"ディスクの空き容量が足りません。"},
        {EROFS, u"読み取り専用のファイルシステムです。"},
        {FileErrorReadOnlyFile, u"読み取り専用のファイルです。"},
        {FileErrorNotRegular, u"通常のファイルではありません（名前付きパイプやデバイスなど）。"},
        {FileErrorNone, u""},
    };
    for (const auto &[error, reason] : cases)
        EXPECT_EQ(fileErrorReason(error), QString::fromUtf16(reason)) << error;
    EXPECT_EQ(fileErrorReason(EFBIG), qt_error_string(EFBIG));
    EXPECT_FALSE(fileErrorReason(EFBIG).isEmpty());
}

class Files : public testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString file(const char *name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QString fifo(const char *name) const
    {
        EXPECT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
        return path(name);
    }
    QByteArray contentOf(const QString &p) const
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System); }

    QTemporaryDir dir;
};

TEST_F(Files, ReadingRefusesWhatIsNoFileAndNeverWaitsForAPipeWriter)
{
    const QString data = file("a.dat", "abcdef");
    const QString pipe = fifo("pipe");
    struct Case { QString path; FileKinds kinds; FileError error; QByteArray bytes; };
    const Case cases[] = {
        {data, FileKinds::RegularOnly, FileErrorNone, "abcd"},
        {data, FileKinds::AnyReadable, FileErrorNone, "abcd"},
        {path("none"), FileKinds::AnyReadable, ENOENT, {}},
        {QString(), FileKinds::AnyReadable, ENOENT, {}},
        {dir.path(), FileKinds::AnyReadable, EISDIR, {}},
        {pipe, FileKinds::RegularOnly, FileErrorNotRegular, {}},
        {QStringLiteral("/dev/null"), FileKinds::RegularOnly, FileErrorNotRegular, {}},
        {QStringLiteral("/dev/null"), FileKinds::AnyReadable, FileErrorNone, {}},
    };
    for (const Case &c : cases) {
        const FileBytes read = readFileBytes(c.path, 4, c.kinds);
        EXPECT_EQ(read.error, c.error) << c.path.toStdString();
        EXPECT_EQ(read.bytes, c.bytes) << c.path.toStdString();
    }
}

TEST_F(Files, RefusedReplacementsLeaveEverythingAsItWas)
{
    const QString locked = file("locked", "keep");
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    const QString blocker = file("blocker", "keep");
    const QString pipe = fifo("pipe");
    ASSERT_TRUE(QDir().mkdir(path("folder")));
    const std::pair<QString, FileError> cases[] = {
        {path("folder"), EISDIR},
        {pipe, FileErrorNotRegular},
        {locked, FileErrorReadOnlyFile},
        {blocker + QStringLiteral("/x"), ENOTDIR},
        {path("gone/x"), ENOENT},
        {QString(), ENOENT},
    };
    for (const auto &[target, error] : cases) {
        EXPECT_EQ(checkFileReplaceable(target), error) << target.toStdString();
        EXPECT_EQ(replaceFileContents(target, "new"), error) << target.toStdString();
    }
    EXPECT_EQ(contentOf(locked), QByteArray("keep"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("blocker"), QStringLiteral("folder"), QStringLiteral("locked"),
                                      QStringLiteral("pipe")}));
}

TEST_F(Files, AReplacementKeepsPermissionsAndWritesThroughALink)
{
    const QString target = file("target", QByteArray(5000, 'o'));
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    ASSERT_TRUE(QFile::link(target, path("link")));
    EXPECT_EQ(checkFileReplaceable(path("link")), FileErrorNone);
    EXPECT_EQ(replaceFileContents(path("link"), "new"), FileErrorNone);
    EXPECT_EQ(contentOf(target), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(path("link")).isSymLink());
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("link"), QStringLiteral("target")}));
}

// A write the system stops half way (here the file size limit; a full disk
// takes the same path) reports the system's reason and keeps the old file.
TEST_F(Files, AWriteThatFailsHalfWayKeepsTheOldFileAndSaysWhy)
{
    const QString target = file("target", "old");
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const FileError error = replaceFileContents(target, QByteArray(10000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(contentOf(target), QByteArray("old"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("target")});
}

} // namespace
