#include "arrivalbatching.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <utility>

namespace ferrox {

ArrivalBatching::ArrivalBatching(QObject *parent) : QObject(parent)
{
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(BatchWaitMs);
    connect(&m_tick, &QTimer::timeout, this, &ArrivalBatching::tick);
}

void ArrivalBatching::setOn(int fd, bool on)
{
    if (!on) {
        termios settings {};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
            settings.c_cc[VMIN] = static_cast<cc_t>(m_formerMinimum);
            settings.c_cc[VTIME] = static_cast<cc_t>(m_formerTime);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
        m_fd = -1;
        m_tick.stop();
        return;
    }
    if (m_fd >= 0 || fd < 0)
        return;
    termios settings {};
    if (::tcgetattr(fd, &settings) != 0)
        return;
    m_formerMinimum = settings.c_cc[VMIN];
    m_formerTime = settings.c_cc[VTIME];
    m_fd = fd;
    m_readSinceTick = false;
    if (!setMinimum(BatchBytes)) {
        m_fd = -1;
        return;
    }
    m_tick.start();
}

void ArrivalBatching::readDone()
{
    m_readSinceTick = true;
    if (m_fd >= 0 && m_minimum != BatchBytes)
        setMinimum(BatchBytes);
}

void ArrivalBatching::settingsRewritten()
{
    m_minimum = -1;
    if (m_fd >= 0)
        setMinimum(BatchBytes);
}

void ArrivalBatching::tick()
{
    // A batch was read since the last tick: whatever waits now came after
    // it and gets its own tick.
    if (std::exchange(m_readSinceTick, false))
        return;
    int waiting = 0;
    if (::ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting > 0)
        setMinimum(1);
}

bool ArrivalBatching::setMinimum(int bytes)
{
    termios settings {};
    if (::tcgetattr(m_fd, &settings) != 0)
        return false;
    settings.c_cc[VMIN] = static_cast<cc_t>(bytes);
    settings.c_cc[VTIME] = 0; // with a time, the minimum would not hold back a wake-up
    if (::tcsetattr(m_fd, TCSANOW, &settings) != 0)
        return false;
    m_minimum = bytes;
    return true;
}

} // namespace ferrox
