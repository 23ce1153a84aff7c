// The command line's simple monitor against a scripted board: when each
// monitored byte is handed on, and with which time.
#include "capture/consolemonitor.h"

#include "link/linktesting.h"
#include "link/protocol.h"

#include <chrono>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class ConsoleMonitorRun : public LinkFixture {};

// On the monitor's clock: microseconds since 1970.
qint64 now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// A board behind a USB adapter: the last byte's low half comes 5 ms after
// the rest of its message, and nothing follows. The byte is handed on when
// its low half arrives, dated then; a monitor told to stop after three
// bytes (--count 3) ends without waiting for the line to speak again.
TEST_F(ConsoleMonitorRun, ALowHalfThatArrivesAloneIsHandedOnAtOnceWithItsOwnTime)
{
    board.answer(CMD_VERSION, {versionReply("V1.05")});
    ConsoleMonitor monitor{owner};
    QByteArray values;
    std::vector<qint64> times; // of each byte
    bool finished = false;
    QObject::connect(&monitor, &ConsoleMonitor::received, &monitor, [&](const std::vector<LiveByte> &bytes, qint64 at) {
        for (const LiveByte &b : bytes) {
            values += char(b.value);
            times.push_back(at);
        }
        if (values.size() == 3)
            monitor.requestStop();
    });
    QObject::connect(&monitor, &ConsoleMonitor::finished, &monitor, [&] { finished = true; });
    MonitorSettings settings;
    settings.port = QStringLiteral("/dev/ttyUSB0");
    monitor.start(settings);
    // Checked, and the stream's start over (its last pause included).
    ASSERT_TRUE(waitFor([&] { return port.written.endsWith('G'); }));
    QTest::qWait(30);
    const qint64 first = now();
    port.deliverNow(QByteArray::fromHex("a0b1a0b2a0"));
    QTest::qWait(5);
    const qint64 last = now();
    port.deliverNow(QByteArray::fromHex("b3"));

    EXPECT_EQ(values, QByteArray::fromHex("010203"));
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[0], times[1]);
    EXPECT_LT(times[1], last);
    EXPECT_GE(times[1], first);
    EXPECT_GE(times[2], last);
    EXPECT_TRUE(waitFor([&] { return finished; }));
}

} // namespace
