#include "platform/portrefusal.h"
#include "platform/qtserialport.h"
#include "boardprocess.h"
#include "support/testfiles.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ferrox;

namespace {

// A device path of our own and the lock file another program would leave for it.
class PortLock : public testing::Test
{
protected:
    void TearDown() override { QFile::remove(lockFile()); }
    QString device() const { return dir.filePath(QStringLiteral("port")); }
    QString lockFile() const
    {
        return QStringLiteral("/tmp/LCK..") + device().replace(u'/', u'_');
    }
    QTemporaryDir dir;
};

TEST_F(PortLock, ALockOfALiveProcessNamesIt)
{
    test::writeFile(device(), {});
    test::writeFile(lockFile(), QByteArray::number(qint64(::getpid())) + "\nother\nhost\n");
    const PortRefusal refusal = diagnosePortRefusal(device(), QSerialPort::PermissionError);
    EXPECT_EQ(refusal.kind, PortRefusal::Kind::InUse);
    EXPECT_EQ(refusal.holder, QStringLiteral("%1 (platform_tests)").arg(::getpid()));
}

TEST_F(PortLock, AGroupIsSuggestedOnlyWhenItCouldOpenTheDevice)
{
    const group *entry = ::getgrnam("dialout");
    if (!entry || ::geteuid() != 0)
        GTEST_SKIP() << "needs group dialout and the right to give a file to it";
    const QByteArray path = QFile::encodeName(device());
    test::writeFile(device(), {});
    ASSERT_EQ(::chown(path.constData(), 0, entry->gr_gid), 0);
    const struct { mode_t mode; gid_t gid; const char *group; } cases[] = {
        {0660, entry->gr_gid, "dialout"},
        {0640, entry->gr_gid, ""}, // the group may not write
        {0660, 0, ""},             // never root
    };
    for (const auto &c : cases) {
        ASSERT_EQ(::chown(path.constData(), 0, c.gid), 0);
        ASSERT_EQ(::chmod(path.constData(), c.mode), 0);
        EXPECT_EQ(deviceGroupToJoin(device()), QLatin1String(c.group)) << std::oct << c.mode << " gid " << c.gid;
    }
}

// Through the board's link and through the pseudo-terminal it names, the
// second open finds the first one's lock.
TEST(QtSerialPort, OneDeviceIsLockedAsOneWhateverItsSpelling)
{
    test::BoardProcess board;
    FERROX_START_BOARD(board);
    QtSerialPort first([&](int) { return board.linkPath(); });
    ASSERT_TRUE(first.open()) << first.lastError();
    QtSerialPort second([&](int) { return board.slavePath(); });
    EXPECT_FALSE(second.open());
    EXPECT_EQ(second.refusal().kind, PortRefusal::Kind::InUse);
    EXPECT_TRUE(second.refusal().holder.startsWith(QString::number(::getpid()))) << second.refusal().holder.toStdString();
}

} // namespace
