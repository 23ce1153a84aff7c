#pragma once

#include "link/linkpanel.h"

namespace ferrox {

class MainWindow;
class Session;

// The main window's settings panel, "mnuRateMeasure" and "Timer1" as the
// connection check sees them; the settings, the capture and simple monitor
// states come from the session.
class WindowLinkPanel : public LinkPanel
{
public:
    WindowLinkPanel(MainWindow &window, const Session &session) : m_window(window), m_session(session) {}

    MonitorSettings settings() const override;
    void setPortText(const QString &text) override;
    void showLinkLines(bool cts, bool dsr) override;
    void refillMonitorSpeeds(const QList<int> &speeds, const QString &storedText) override;
    void refillDirections(const QList<MonitorDirection> &directions, const QString &storedText) override;
    void setRateMeasureEnabled(bool enabled) override;
    void enableDataWidth() override;
    void setSamplingEnabled(bool enabled) override;
    bool simpleMonitorPressed() const override;
    bool startEnabled() const override;
    StatusPanel &statusPanel() override;

private:
    MainWindow &m_window;
    const Session &m_session;
};

} // namespace ferrox
