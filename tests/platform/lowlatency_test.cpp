// Low latency on a serial device: an FTDI adapter's latency timer in a
// stand-in sysfs is set to 1 ms and put back. (A pseudo-terminal, which
// refuses the driver flag, still opens: every test over the board's link.)
#include "platform/lowlatency.h"

#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

TEST(LowLatency, SetsAnAdaptersLatencyTimerTo1MsAndPutsItBack)
{
    QTemporaryDir sysfs;
    const QString folder = sysfs.filePath(QStringLiteral("bus/usb-serial/devices/ttyUSB3"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString timer = writeFile(folder + QStringLiteral("/latency_timer"), "16\n");
    LowLatency lowLatency(sysfs.path());
    lowLatency.apply(-1, QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(readFile(timer), QByteArray("1"));
    lowLatency.restore(-1);
    EXPECT_EQ(readFile(timer), QByteArray("16"));
}
