#pragma once

#include "link/linkpanel.h"

namespace ferrox {

class MainWindow;
class MonitorSession;
class SignalSampler;

// The main window's settings panel, "mnuRateMeasure" and "Timer1" as the
// connection check sees them; the settings, the capture and simple monitor
// states come from the monitor session.
class WindowLinkPanel : public LinkPanel
{
public:
    WindowLinkPanel(MainWindow &window, const MonitorSession &state, SignalSampler &sampler)
        : m_window(window), m_state(state), m_sampler(sampler)
    {
    }

    MonitorSettings settings() const override;
    void setPortText(const QString &text) override;
    void showLinkLines(bool cts, bool dsr) override;
    // The settings panel's lists and data-width options, mnuRateMeasure.
    void offerFeatures(const FirmwareFeatures &features) override;
    void setSamplingEnabled(bool enabled) override;
    bool simpleMonitorOn() const override;
    bool monitorBusy() const override;
    StatusPanel &statusPanel() override;

private:
    MainWindow &m_window;
    const MonitorSession &m_state;
    SignalSampler &m_sampler;
};

} // namespace ferrox
