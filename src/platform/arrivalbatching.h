#pragma once

#include <QObject>
#include <QTimer>

namespace ferrox {

// Fewer wake-ups for a stream that is read in bulk (the simple monitor's
// window): the terminal is asked to report input only once BatchBytes wait
// (VMIN), and a tick every BatchWaitMs lets fewer bytes through when
// nothing was read since the tick before, so a byte waits at most two
// ticks. Each wake-up costs the system far more than the bytes it brings,
// so at a saturated 115,200-baud link this is most of the cost of reading
// the port. Nothing is lost or reordered: the bytes wait in the terminal's
// queue.
//
// Not for a reader that stamps arrival times or splits by idle gaps (a
// capture, the command line's monitor): batches hide the line's gaps.
class ArrivalBatching : public QObject
{
    Q_OBJECT
public:
    // Not more: Linux reads a terminal in 64-byte pieces and ends a read
    // after a piece that holds fewer bytes than the minimum, so a larger
    // one returns 64 bytes a read and wakes the program more, not less.
    static constexpr int BatchBytes = 64;
    static constexpr int BatchWaitMs = 20;

    explicit ArrivalBatching(QObject *parent = nullptr);

    // On for the terminal fd (a fd that takes no terminal settings is left
    // as it is); off puts its former setting back.
    void setOn(int fd, bool on);
    // After the port read what woke it: report again only at BatchBytes.
    void readDone();
    // After the port wrote its whole terminal settings back.
    void settingsRewritten();

private:
    void tick();
    bool setMinimum(int bytes);

    QTimer m_tick;
    int m_fd = -1;
    int m_formerMinimum = 0;
    int m_formerTime = 0;
    int m_minimum = -1; // as last set; -1 when the settings were rewritten
    bool m_readSinceTick = false;
};

} // namespace ferrox
