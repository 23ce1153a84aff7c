#pragma once

#include <QObject>
#include <QTimer>

namespace ferrox {

// Fewer wake-ups for a stream that is read in bulk (the simple monitor's):
// the terminal is asked to report input only once BatchBytes wait (VMIN),
// and a tick every BatchWaitMs lets fewer bytes through. Each wake-up
// costs the system far more than the bytes it brings, so at a saturated
// 115,200-baud link this is most of the cost of reading the port.
// Nothing is lost or reordered: the bytes wait in the terminal's queue.
//
// Not for a capture: its arrival times must show the line's gaps.
class ArrivalBatching : public QObject
{
    Q_OBJECT
public:
    static constexpr int BatchBytes = 64;
    static constexpr int BatchWaitMs = 20;

    explicit ArrivalBatching(QObject *parent = nullptr);

    // On for the terminal fd (a fd that takes no terminal settings is left
    // as it is); off puts its former setting back.
    void setOn(int fd, bool on);
    bool isOn() const { return m_fd >= 0; }
    // After the port read what woke it, or applied its settings again:
    // report again only at BatchBytes.
    void rearm();

private:
    void tick();
    bool setMinimum(int bytes);

    QTimer m_tick;
    int m_fd = -1;
    int m_formerMinimum = 0;
    int m_formerTime = 0;
};

} // namespace ferrox
