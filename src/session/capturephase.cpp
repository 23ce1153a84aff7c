#include "capturephase.h"

namespace ferrox {

CapturePhase::CapturePhase(QObject *parent) : QObject(parent) {}

bool CapturePhase::holdsLink() const
{
    return m_step != Step::Idle && m_step != Step::Processing;
}

bool CapturePhase::prepare()
{
    if (m_step != Step::Idle)
        return false;
    set(Step::Preparing, false);
    return true;
}

bool CapturePhase::beginStart()
{
    if (m_step != Step::Idle && m_step != Step::Preparing)
        return false;
    set(Step::Starting, m_step == Step::Preparing && m_stopAsked);
    return true;
}

void CapturePhase::setStreaming()
{
    if (m_step == Step::Starting)
        set(Step::Streaming, m_stopAsked);
}

bool CapturePhase::askStop()
{
    if (!holdsLink())
        return false;
    set(m_step, true);
    return true;
}

void CapturePhase::endStream()
{
    if (m_step == Step::Streaming)
        set(Step::Ending, m_stopAsked);
}

void CapturePhase::beginProcessing()
{
    if (m_step == Step::Ending)
        set(Step::Processing, m_stopAsked);
}

void CapturePhase::finish()
{
    set(Step::Idle, false);
}

void CapturePhase::set(Step step, bool stopAsked)
{
    if (m_step == step && m_stopAsked == stopAsked)
        return;
    m_step = step;
    m_stopAsked = stopAsked;
    emit changed();
}

} // namespace ferrox
