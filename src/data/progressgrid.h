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
// the last value reported (initially 0). Positions must be visited in order
// from 0; the arithmetic is exact and needs no division per position.
class ProgressGrid
{
public:
    ProgressGrid(qint32 captureEnd, qint32 offset, qint32 grid);

    // Visits the next position (0, 1, 2, ...) and reports through `report`
    // when the rule says so. Nothing is reported when CaptureEnd is 0.
    void visit(const ProgressCallback &report);

    // The rounded remaining percentage at a position, for checking.
    static qint32 remainingAt(qint32 position, qint32 captureEnd, qint32 offset);

private:
    qint32 rounded() const;

    qint32 m_captureEnd;
    qint32 m_grid;
    qint64 m_quotient = 0;  // floor(numerator / CaptureEnd)
    qint64 m_remainder = 0; // numerator - quotient * CaptureEnd, 0 <= r < CaptureEnd
    qint32 m_lastReported = 0;
    bool m_first = true;
};

} // namespace ferrox
