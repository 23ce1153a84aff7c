#include "progressgrid.h"

#include <limits>

namespace ferrox {

ProgressGrid::ProgressGrid(qint32 captureEnd, qint32 offset, qint32 grid)
    : m_captureEnd(captureEnd)
    , m_offset(offset)
    , m_grid(grid)
{
    if (m_captureEnd <= 0)
        m_nextChange = std::numeric_limits<qint32>::max();
}

void ProgressGrid::changed(qint32 position, const ProgressCallback &report)
{
    const qint32 remaining = remainingAt(position, m_captureEnd, m_offset);
    if (remaining % m_grid == 0 && remaining != m_lastReported) {
        m_lastReported = remaining;
        if (report)
            report(remaining);
    }
    // The value only falls as the position grows: find where it next does.
    qint32 low = position + 1;
    qint32 high = m_captureEnd + 1; // past the end: no further change
    while (low < high) {
        const qint32 middle = low + (high - low) / 2;
        if (remainingAt(middle, m_captureEnd, m_offset) != remaining)
            high = middle;
        else
            low = middle + 1;
    }
    m_nextChange = low;
}

qint32 ProgressGrid::remainingAt(qint32 position, qint32 captureEnd, qint32 offset)
{
    // floor division, then halves to the even neighbour
    const qint64 numerator = 100 * (qint64(captureEnd) - position - offset);
    qint64 quotient = numerator / captureEnd;
    qint64 remainder = numerator % captureEnd;
    if (remainder < 0) {
        remainder += captureEnd;
        --quotient;
    }
    const qint64 twice = 2 * remainder;
    if (twice > captureEnd || (twice == captureEnd && (quotient & 1) != 0))
        ++quotient;
    return qint32(quotient);
}

} // namespace ferrox
