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

// Nested and existing folders, and a file in the way, are the start-up's
// temporary folder test (TempFolder.IsMadeSilentlyOrReportedWithAStopIcon).
TEST(EnsureFolder, NeverMakesAnEmptyPathOrOneOnDriveA)
{
    EXPECT_FALSE(EnsureFolder(QString()));
    EXPECT_FALSE(EnsureFolder(QStringLiteral("A_nonexistent_folder_for_ferrox")));
    EXPECT_FALSE(QDir(QStringLiteral("A_nonexistent_folder_for_ferrox")).exists());
}

TEST(AppFolder, HonoursFerroxHomeAndEndsWithSeparator)
{
    QTemporaryDir dir;
    qputenv("FERROX_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
    const QString folder = AppFolder();
    qunsetenv("FERROX_HOME");
    EXPECT_EQ(folder, dir.filePath(QStringLiteral("home")) + QLatin1Char('/'));
    EXPECT_TRUE(QDir(folder).exists());
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
        SingleInstance first(name);
        SingleInstance second(name);
        EXPECT_TRUE(first.acquired());
        EXPECT_FALSE(second.acquired());
    }
    EXPECT_TRUE(SingleInstance(name).acquired());
}

TEST(SingleInstance, ALockThatNamesNoLiveFerroxOfThisHostIsStale)
{
    const QString name = QStringLiteral("ferrox-test-stale-%1.lock").arg(QCoreApplication::applicationPid());
    const QString path = QDir(SingleInstance::runtimeFolder()).filePath(name);
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    const QByteArray ours = QByteArray::number(QCoreApplication::applicationPid());
    const struct { const char *why; QByteArray content; } locks[] = {
        {"no process number", "garbage"},
        {"a process that does not run", "2147483000\n\nferrox\n"},
        {"another host", ours + "\nferrox\nsomewhere-else\n"},
        {"a live process of a different program", "1\nferrox\n" + here + '\n'},
    };
    for (const auto &lock : locks) {
        test::writeFile(path, lock.content);
        EXPECT_TRUE(SingleInstance(name).acquired()) << lock.why;
    }
    EXPECT_FALSE(QFile::exists(path));
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
