#include "progressgrid.h"

namespace ferrox {

namespace {

// floor division for a positive divisor
void divideFloor(qint64 numerator, qint64 divisor, qint64 &quotient, qint64 &remainder)
{
    quotient = numerator / divisor;
    remainder = numerator % divisor;
    if (remainder < 0) {
        remainder += divisor;
        --quotient;
    }
}

qint32 roundHalfEven(qint64 quotient, qint64 remainder, qint64 divisor)
{
    const qint64 twice = 2 * remainder;
    if (twice > divisor || (twice == divisor && (quotient & 1) != 0))
        ++quotient;
    return qint32(quotient);
}

} // namespace

ProgressGrid::ProgressGrid(qint32 captureEnd, qint32 offset, qint32 grid)
    : m_captureEnd(captureEnd)
    , m_grid(grid)
{
    if (m_captureEnd > 0)
        divideFloor(100 * qint64(m_captureEnd - offset), m_captureEnd, m_quotient, m_remainder);
}

qint32 ProgressGrid::rounded() const
{
    return roundHalfEven(m_quotient, m_remainder, m_captureEnd);
}

void ProgressGrid::visit(const ProgressCallback &report)
{
    if (m_captureEnd <= 0)
        return;
    if (m_first) {
        m_first = false;
    } else {
        // The numerator drops by 100 for each position.
        m_remainder -= 100;
        while (m_remainder < 0) {
            m_remainder += m_captureEnd;
            --m_quotient;
        }
    }
    const qint32 remaining = rounded();
    if (remaining % m_grid == 0 && remaining != m_lastReported) {
        m_lastReported = remaining;
        if (report)
            report(remaining);
    }
}

qint32 ProgressGrid::remainingAt(qint32 position, qint32 captureEnd, qint32 offset)
{
    qint64 quotient = 0;
    qint64 remainder = 0;
    divideFloor(100 * (qint64(captureEnd) - position - offset), captureEnd, quotient, remainder);
    return roundHalfEven(quotient, remainder, captureEnd);
}

} // namespace ferrox
