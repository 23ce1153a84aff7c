#include "liveappender.h"

#include <algorithm>

namespace ferrox {

LiveTextAppender::LiveTextAppender(qsizetype maxChars, QObject *parent)
    : QObject(parent), m_maxChars(std::max<qsizetype>(maxChars, 4))
{
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, &LiveTextAppender::flush);
}

void LiveTextAppender::append(const QString &text)
{
    if (text.isEmpty())
        return;
    m_pending += text;
    if (m_pending.size() > m_maxChars) {
        m_pending.remove(0, m_pending.size() - keepChars());
        m_replaceAll = true;
    }
    if (!m_frame.isActive())
        m_frame.start();
}

void LiveTextAppender::clear()
{
    m_frame.stop();
    m_pending.clear();
    m_shown = 0;
    m_replaceAll = false;
}

void LiveTextAppender::flush()
{
    m_frame.stop();
    if (m_pending.isEmpty())
        return;
    qsizetype drop = m_replaceAll ? m_shown : 0;
    const qsizetype total = m_shown - drop + m_pending.size();
    if (total > m_maxChars) {
        const qsizetype excess = total - keepChars();
        const qsizetype fromView = std::min(excess, m_shown - drop);
        drop += fromView;
        m_pending.remove(0, excess - fromView);
    }
    m_shown = m_shown - drop + m_pending.size();
    m_replaceAll = false;
    emit batchReady(std::exchange(m_pending, QString()), drop);
}

} // namespace ferrox
