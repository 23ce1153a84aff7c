#pragma once

#include "link/linkpanel.h"

namespace ferrox {

class MainWindow;

// The main window's settings panel, toolbar, "mnuRateMeasure" and "Timer1"
// as the connection check sees them.
class WindowLinkPanel : public LinkPanel
{
public:
    explicit WindowLinkPanel(MainWindow &window) : m_window(window) {}

    QString portText() const override;
    void setPortText(const QString &text) override;
    QString linkSpeedText() const override;
    bool rtsChecked() const override;
    bool dtrChecked() const override;
    void showLinkLines(bool cts, bool dsr) override;
    void refillMonitorSpeeds(const QStringList &items, const QString &text) override;
    void refillDirections(const QStringList &items, const QString &text) override;
    void setRateMeasureEnabled(bool enabled) override;
    void enableDataWidth() override;
    void setSamplingEnabled(bool enabled) override;
    bool simpleMonitorPressed() const override;
    bool startEnabled() const override;
    StatusPanel &statusPanel() override;

private:
    MainWindow &m_window;
};

} // namespace ferrox
