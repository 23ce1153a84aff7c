#include "statusblink.h"

#include "platform/statusreport.h"
#include "texts.h"

namespace ferrox {

StatusBlink::StatusBlink(StatusPanel &panel, QObject *parent) : QObject(parent), m_panel(panel)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StatusBlink::nextPhase);
}

void StatusBlink::start(std::function<QString()> text, std::function<void()> done)
{
    m_text = std::move(text);
    m_done = std::move(done);
    m_phase = 0;
    ReportStatus(m_panel, 1, m_text(), 0);
    m_timer.start(PhaseMs);
}

void StatusBlink::nextPhase()
{
    if (++m_phase == 1) {
        ReportStatus(m_panel, 1, linktext::blinkBlank(), 0);
        m_timer.start(PhaseMs);
        return;
    }
    ReportStatus(m_panel, 1, m_text(), 0);
    if (m_done)
        std::exchange(m_done, nullptr)();
}

} // namespace ferrox
