#include "windowlinkpanel.h"

#include "colorbox.h"
#include "combotext.h"
#include "mainwindow.h"
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

void WindowLinkPanel::setPortText(const QString &text)
{
    setComboText(m_window.settingsPanel()->comPort(), text);
}

void WindowLinkPanel::showLinkLines(bool cts, bool dsr)
{
    m_window.settingsPanel()->ctsLamp()->setColor(colorFromBgr(cts ? LampOn : LampOff));
    m_window.settingsPanel()->dsrLamp()->setColor(colorFromBgr(dsr ? LampOn : LampOff));
}

void WindowLinkPanel::offerFeatures(const FirmwareFeatures &features)
{
    m_window.settingsPanel()->offerFeatures(features);
    m_window.menus().rateMeasure->setEnabled(features.rateMeasure);
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
    return m_window;
}

} // namespace ferrox
