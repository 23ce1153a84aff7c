#include "platform/process.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;

TEST(EnsureFolder, ExistingNestedUncreatableAndRefusedFolders)
{
    QTemporaryDir dir;
    EXPECT_TRUE(EnsureFolder(dir.path()));
    const QString nested = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(EnsureFolder(nested) && QDir(nested).exists());

    // A plain file in the way of one level: nothing can be made below it.
    test::writeFile(dir.filePath(QStringLiteral("file")), "x");
    EXPECT_FALSE(EnsureFolder(dir.filePath(QStringLiteral("file/x/y"))));

    // Paths on drive A are never created, nor an empty path.
    EXPECT_FALSE(EnsureFolder(QString()) || EnsureFolder(QStringLiteral("A_nonexistent_folder_for_ferrox")));
    EXPECT_FALSE(QDir(QStringLiteral("A_nonexistent_folder_for_ferrox")).exists());
}

TEST(AppFolder, HonoursFerroxHomeAndEndsWithSeparator)
{
    QTemporaryDir dir;
    qputenv("FERROX_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    const QString folder = AppFolder();
    qunsetenv("FERROX_HOME");
    EXPECT_TRUE(folder == dir.filePath(QStringLiteral("home")) + QLatin1Char('/') && QDir(folder).exists());
}

TEST(AppFolder, AnInstalledCopyKeepsItsFilesInTheUsersDataFolder)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/';
    const QString buildTree = dir.filePath(QStringLiteral("build/src/app"));
    const QString installedBin = dir.filePath(QStringLiteral("usr/bin"));
    QDir().mkpath(buildTree);
    QDir().mkpath(installedBin);
    QDir().mkpath(dir.filePath(QStringLiteral("usr/share/ferrox/help")));

    EXPECT_EQ(programFolder(buildTree), buildTree + u'/');
    // A writable bin folder (run as root) is still no place for data files.
    EXPECT_EQ(programFolder(installedBin), dataFolder);
    EXPECT_TRUE(QFileInfo(dataFolder).isDir());
    qunsetenv("XDG_DATA_HOME");
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    const QString name = QStringLiteral("ferrox-test-%1.lock").arg(QCoreApplication::applicationPid());
    {
        SingleInstance first(name), second(name);
        EXPECT_TRUE(first.acquired() && !second.acquired());
    }
    EXPECT_TRUE(SingleInstance(name).acquired());
}

TEST(SingleInstance, ALockThatNamesNoLiveProgramIsStale)
{
    const QString name = QStringLiteral("ferrox-test-stale-%1.lock").arg(QCoreApplication::applicationPid());
    const QString path = QDir(SingleInstance::runtimeFolder()).filePath(name);
    for (const QByteArray &content : {QByteArray("garbage"), QByteArray("2147483000\n\nferrox\n")}) {
        test::writeFile(path, content);
        EXPECT_TRUE(SingleInstance(name).acquired()) << content.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SingleInstance, ALockOfAnotherHostOrOfADifferentProgramIsStale)
{
    const QString name = QStringLiteral("ferrox-test-foreign-%1.lock").arg(QCoreApplication::applicationPid());
    const QString path = QDir(SingleInstance::runtimeFolder()).filePath(name);
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    const QByteArray ours = QByteArray::number(QCoreApplication::applicationPid());
    const struct { const char *why; QByteArray content; } locks[] = {
        {"another host", ours + "\nferrox\nsomewhere-else\n"},
        {"a live process of a different program", "1\nferrox\n" + here + '\n'},
    };
    for (const auto &lock : locks) {
        test::writeFile(path, lock.content);
        EXPECT_TRUE(SingleInstance(name).acquired()) << lock.why;
    }
}

TEST(SingleInstance, AFolderInPlaceOfTheLockIsRefusedAndNamed)
{
    const QString name = QStringLiteral("ferrox-test-folder-%1.lock").arg(QCoreApplication::applicationPid());
    const QString path = QDir(SingleInstance::runtimeFolder()).filePath(name);
    ASSERT_TRUE(QDir().mkpath(path));
    SingleInstance instance(name);
    EXPECT_FALSE(instance.acquired());
    EXPECT_FALSE(instance.tryAgain());
    EXPECT_EQ(instance.lockPath(), path);
    QDir().rmdir(path);
}

// Qt names no temporary folder for a TMPDIR that does not exist yet.
TEST(TempFolder, AMissingTmpdirIsNamedSoTheStartUpCanCreateIt)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("not/yet"));
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(missing));
    EXPECT_EQ(TempFolder(), missing);
    qputenv("TMPDIR", saved);
}
