#include "windowlinkpanel.h"

#include "colorbox.h"
#include "combotext.h"
#include "settingspanel.h"

#include "platform/ui/appearance.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"

#include <QAction>

namespace ferrox {

namespace {

constexpr quint32 LampOn = 0x0000FF; // red
constexpr quint32 LampOff = 0x000000;

} // namespace

MonitorSettings WindowLinkPanel::settings() const
{
    return m_state.settings();
}

CheckResults WindowLinkPanel::checkResults() const
{
    return {m_state.LinkFailed(), m_state.BoardVerified(), m_state.FirmwareVersion(), m_state.BoardReply()};
}

void WindowLinkPanel::setCheckResults(const CheckResults &results)
{
    m_state.setCheckResults(results.LinkFailed, results.BoardVerified, results.FirmwareVersion, results.BoardReply);
}

void WindowLinkPanel::setPortText(const QString &text)
{
    setComboText(m_panel.comPort(), text);
}

void WindowLinkPanel::showLinkLines(bool cts, bool dsr)
{
    m_panel.ctsLamp()->setColor(colorFromBgr(cts ? LampOn : LampOff));
    m_panel.dsrLamp()->setColor(colorFromBgr(dsr ? LampOn : LampOff));
}

void WindowLinkPanel::offerFeatures(const FirmwareFeatures &features)
{
    m_panel.offerFeatures(features);
    m_rateMeasure->setEnabled(features.rateMeasure);
}

void WindowLinkPanel::setSamplingEnabled(bool enabled)
{
    m_sampler.setSamplingEnabled(enabled);
}

bool WindowLinkPanel::simpleMonitorOn() const
{
    return m_state.SimpleMonitorOpen();
}

bool WindowLinkPanel::monitorBusy() const
{
    return m_state.MonitorBusy();
}

StatusPanel &WindowLinkPanel::statusPanel()
{
    return m_status;
}

} // namespace ferrox
