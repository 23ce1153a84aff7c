#pragma once

#include <QString>

#include <optional>

namespace ferrox {

// Asks an open serial device to hand over received bytes at once rather
// than in batches, so that arrival times tell idle gaps apart: the serial
// driver's low-latency flag (TIOCSSERIAL, ASYNC_LOW_LATENCY) and, for an
// FTDI adapter, its latency timer in sysfs set to 1 ms when writable.
// Either may be refused (a pseudo-terminal, a driver without the flag, a
// sysfs file the user cannot write); the port works as before then.
// restore() puts back what apply() changed, since both outlive the open
// port.
class LowLatency
{
public:
    // sysfsRoot: where sysfs is mounted ("/sys"; tests give a folder).
    explicit LowLatency(QString sysfsRoot = QStringLiteral("/sys")) : m_sysfsRoot(std::move(sysfsRoot)) {}

    void apply(int fd, const QString &devicePath);
    void restore(int fd);

    bool driverFlagSet() const { return m_flagSet; }
    // The adapter's latency timer before apply() set it, in milliseconds.
    std::optional<int> previousLatencyTimerMs() const { return m_previousTimerMs; }

private:
    QString latencyTimerPath(const QString &devicePath) const;

    QString m_sysfsRoot;
    QString m_timerPath;
    bool m_flagSet = false;
    std::optional<int> m_previousTimerMs;
};

} // namespace ferrox
