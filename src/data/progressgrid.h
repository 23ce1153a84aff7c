#pragma once

#include <QtGlobal>

#include <functional>

namespace ferrox {

// Called with the percentage of work still to do (the status line's
// contract: non-zero shows a progress bar at 100 - remaining, 0 hides it).
// The exchange view can report a little below 0 at the end of a short
// stream; the status line clamps the bar.
using ProgressCallback = std::function<void(qint32 remaining)>;

// Progress of a rendering over stream positions 0..CaptureEnd. At position
// i the remaining percentage is 100 - 100 * (i + offset) / CaptureEnd,
// rounded to the nearest integer with halves to the even neighbour; it is
// reported when it lies on the grid (a multiple of `grid`) and differs from
// the last value reported (initially 0). Positions are visited in order
// from 0; between the few positions where the rounded value changes a
// visit costs a comparison, and positions before quietUntil() may be
// passed over, since they report nothing.
class ProgressGrid
{
public:
    ProgressGrid(qint32 captureEnd, qint32 offset, qint32 grid);

    // Visits `position` and reports through `report` when the rule says
    // so. Nothing is reported when CaptureEnd is 0.
    void visit(qint32 position, const ProgressCallback &report)
    {
        if (position >= m_nextChange)
            changed(position, report);
    }

    // The first position after those visited that may report.
    qint32 quietUntil() const { return m_nextChange; }

    // The rounded remaining percentage at a position.
    static qint32 remainingAt(qint32 position, qint32 captureEnd, qint32 offset);

private:
    void changed(qint32 position, const ProgressCallback &report);

    qint32 m_captureEnd;
    qint32 m_offset;
    qint32 m_grid;
    qint32 m_nextChange = 0; // first position whose rounded value may differ
    qint32 m_lastReported = 0;
};

} // namespace ferrox
