#include "files/fileaccess.h"
#include "files/filenamebytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ferrox;

namespace {

TEST(FileErrorReason, CommonCasesHaveOwnWordsOthersTheSystems)
{
    EXPECT_NE(fileErrorReason(ENOENT), qt_error_string(ENOENT));
    EXPECT_EQ(fileErrorReason(EFBIG), qt_error_string(EFBIG));
}

TEST(FileAccess, FoldersAndPipesAreRefusedWithoutWaitingAndLeftAsTheyWere)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_EQ(replaceFileContents(locked, "keep"), FileErrorNone);
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    struct Case { QString path; FileError read; FileError replace; };
    const Case cases[] = {
        {dir.path(), EISDIR, EISDIR},
        {pipe, FileErrorNotRegular, FileErrorNotRegular},
        {locked, FileErrorNone, FileErrorReadOnlyFile},
        {locked + QStringLiteral("/x"), ENOTDIR, ENOTDIR},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(readFileBytes(c.path, 3, FileKinds::RegularOnly).error, c.read) << c.path.toStdString();
        EXPECT_EQ(checkFileReplaceable(c.path), c.replace) << c.path.toStdString();
        EXPECT_EQ(replaceFileContents(c.path, "new"), c.replace) << c.path.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 2);
    EXPECT_EQ(readFileBytes(locked, 10, FileKinds::RegularOnly).bytes, QByteArray("keep"));
}

// A write the system stops half way (here the file size limit; a full disk
// takes the same path) reports the system's reason and keeps the old file
// with its permissions.
TEST(FileAccess, AReplacementIsWholeOrNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_EQ(replaceFileContents(target, "old"), FileErrorNone);
    ::chmod(QFile::encodeName(target).constData(), 0640);
    struct rlimit saved, limited;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    limited = saved;
    limited.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_EQ(replaceFileContents(target, QByteArray(10000, 'x')), EFBIG);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readFileBytes(target, 10, FileKinds::RegularOnly).bytes, QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    ASSERT_EQ(replaceFileContents(target, "new"), FileErrorNone);
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

// Written in pieces, the old file stays until commit(); a writer given up
// (an error, an interruption) leaves it and no temporary file behind.
TEST(FileAccess, APiecewiseReplacementIsWholeOrNothing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_EQ(replaceFileContents(target, "old"), FileErrorNone);
    {
        ReplacingWriter abandoned;
        ASSERT_EQ(abandoned.open(target), FileErrorNone);
        ASSERT_EQ(abandoned.append("half"), FileErrorNone);
    }
    EXPECT_EQ(readFileBytes(target, 10, FileKinds::RegularOnly).bytes, QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    ReplacingWriter writer;
    ASSERT_EQ(writer.open(target), FileErrorNone);
    ASSERT_EQ(writer.append("one "), FileErrorNone);
    ASSERT_EQ(writer.append("two"), FileErrorNone);
    EXPECT_EQ(readFileBytes(target, 10, FileKinds::RegularOnly).bytes, QByteArray("old"));
    EXPECT_EQ(writer.commit(), FileErrorNone);
    EXPECT_EQ(readFileBytes(target, 10, FileKinds::RegularOnly).bytes, QByteArray("one two"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// An output through a link reaches the link's target, made when missing,
// as a shell's redirection does; the link stays a link.
TEST(FileAccess, LinksAreWrittenThrough)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_EQ(replaceFileContents(target, "old"), FileErrorNone);
    const struct { const char *link; QString pointsTo; } cases[] = {
        {"link", target},
        {"dangling", QStringLiteral("made")}, // relative to the link's folder
    };
    for (const auto &c : cases) {
        const QString link = dir.filePath(QLatin1String(c.link));
        ASSERT_TRUE(QFile::link(c.pointsTo, link));
        EXPECT_EQ(replaceFileContents(link, c.link), FileErrorNone) << c.link;
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << c.link;
        EXPECT_EQ(readFileBytes(QDir(dir.path()).filePath(c.pointsTo), 20, FileKinds::RegularOnly).bytes, QByteArray(c.link));
    }
}

// A name that is not UTF-8 is the same bytes at every step: written,
// listed, read and removed.
TEST(FileAccess, NamesKeepTheirBytes)
{
    QTemporaryDir dir;
    const QByteArray rawName = "caf\xE9\xFF.dat";
    const QString name = decodeFileName(rawName);
    const QString path = dir.path() + u'/' + name;
    ASSERT_EQ(replaceFileContents(path, "bytes"), FileErrorNone);
    EXPECT_EQ(::access((QFile::encodeName(dir.path()) + '/' + rawName).constData(), F_OK), 0);
    EXPECT_EQ(folderEntries(dir.path()), QStringList{name});
    EXPECT_EQ(readFileBytes(path, 10, FileKinds::RegularOnly).bytes, QByteArray("bytes"));
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(removeFile(path), FileErrorNone);
    EXPECT_FALSE(fileExists(path));
    EXPECT_EQ(removeFile(path), FileErrorNone) << "already gone is no failure";
}

TEST(FileAccess, DevicesTakeAStreamWriteFilesDoNot)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("file"));
    ASSERT_EQ(replaceFileContents(file, "keep"), FileErrorNone);
    EXPECT_TRUE(isStream(QStringLiteral("/dev/null")));
    EXPECT_FALSE(isStream(file));
    EXPECT_EQ(writeStreamContents(QStringLiteral("/dev/null"), "x"), FileErrorNone);
    EXPECT_EQ(writeStreamContents(file, "x"), FileErrorNotRegular);
    EXPECT_EQ(readFileBytes(file, 10, FileKinds::RegularOnly).bytes, QByteArray("keep"));
}

} // namespace
