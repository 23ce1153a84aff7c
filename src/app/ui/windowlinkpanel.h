#pragma once

#include "link/linkpanel.h"

class QAction;

namespace ferrox {

class MonitorSession;
class SettingsPanel;
class SignalSampler;

// The main window's settings panel, "mnuRateMeasure" and "Timer1" as the
// connection check sees them; the settings, the capture and simple monitor
// states come from the monitor session.
class WindowLinkPanel : public LinkPanel
{
public:
    // rateMeasure: the menu item "mnuRateMeasure".
    WindowLinkPanel(SettingsPanel &panel, QAction *rateMeasure, StatusPanel &status, MonitorSession &state,
                    SignalSampler &sampler)
        : m_panel(panel), m_rateMeasure(rateMeasure), m_status(status), m_state(state), m_sampler(sampler)
    {
    }

    MonitorSettings settings() const override;
    // The session's.
    CheckResults checkResults() const override;
    void setCheckResults(const CheckResults &results) override;
    void setPortText(const QString &text) override;
    void showLinkLines(bool cts, bool dsr) override;
    // The settings panel's lists and data-width options, mnuRateMeasure.
    void offerFeatures(const FirmwareFeatures &features) override;
    void setSamplingEnabled(bool enabled) override;
    bool simpleMonitorOn() const override;
    bool monitorBusy() const override;
    StatusPanel &statusPanel() override;

private:
    SettingsPanel &m_panel;
    QAction *m_rateMeasure;
    StatusPanel &m_status;
    MonitorSession &m_state;
    SignalSampler &m_sampler;
};

} // namespace ferrox
