// Low latency on a serial device: an FTDI adapter's latency timer in a
// stand-in sysfs is set to 1 ms and put back; a device without the driver
// flag (a pseudo-terminal) is left as it was.
#include "platform/lowlatency.h"

#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QString timerFile(const QTemporaryDir &sysfs, const char *device)
{
    const QString folder = sysfs.filePath(QStringLiteral("bus/usb-serial/devices/") + QLatin1String(device));
    QDir().mkpath(folder);
    return folder + QStringLiteral("/latency_timer");
}

} // namespace

TEST(LowLatency, SetsAnAdaptersLatencyTimerTo1MsAndPutsItBack)
{
    QTemporaryDir sysfs;
    const QString timer = writeFile(timerFile(sysfs, "ttyUSB3"), "16\n");
    LowLatency lowLatency(sysfs.path());
    lowLatency.apply(-1, QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(readFile(timer), QByteArray("1"));
    EXPECT_EQ(lowLatency.previousLatencyTimerMs(), 16);
    lowLatency.restore(-1);
    EXPECT_EQ(readFile(timer), QByteArray("16"));
}

TEST(LowLatency, APseudoTerminalRefusesTheDriverFlagHarmlessly)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    LowLatency lowLatency;
    lowLatency.apply(master, QStringLiteral("/dev/ptmx"));
    EXPECT_FALSE(lowLatency.driverFlagSet());
    ::close(master);
}
