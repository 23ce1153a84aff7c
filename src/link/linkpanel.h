#pragma once

#include <QString>
#include <QStringList>

namespace ferrox {

class StatusPanel;

// The settings panel and the window state that the connection check reads
// and adapts, as the main window provides them.
class LinkPanel
{
public:
    virtual ~LinkPanel();

    virtual QString portText() const = 0;      // Combo_Com_port, e.g. "COM3"
    virtual void setPortText(const QString &text) = 0;
    virtual QString linkSpeedText() const = 0; // Combo_PC_speed, e.g. " 57600"
    virtual bool rtsChecked() const = 0;       // Check_RTS
    virtual bool dtrChecked() const = 0;       // Check_DTR

    // Picture_CTS / Picture_DSR: red when the link port's line is on, black when off.
    virtual void showLinkLines(bool cts, bool dsr) = 0;
    // Combo_Monitor_speed / Combo_Direction: the items anew, then the text
    // (which need not be one of them).
    virtual void refillMonitorSpeeds(const QStringList &items, const QString &text) = 0;
    virtual void refillDirections(const QStringList &items, const QString &text) = 0;
    virtual void setRateMeasureEnabled(bool enabled) = 0; // mnuRateMeasure
    // Frame2, Data_only, DataAndParity; nothing disables them again.
    virtual void enableDataWidth() = 0;

    virtual void setSamplingEnabled(bool enabled) = 0; // Timer1
    virtual bool simpleMonitorPressed() const = 0;     // toolbar button 7
    virtual bool startEnabled() const = 0;             // toolbar button 1: no capture runs

    virtual StatusPanel &statusPanel() = 0;
};

} // namespace ferrox
