#pragma once

#include "settings/monitorsettings.h"

#include <QList>
#include <QString>

namespace ferrox {

class StatusPanel;

// The settings panel and the window state that the connection check reads
// and adapts, as the main window provides them.
class LinkPanel
{
public:
    virtual ~LinkPanel();

    // The choices as they stand: the port (Combo_Com_port), the link speed
    // (Combo_PC_speed), RTS and DTR (Check_RTS, Check_DTR).
    virtual MonitorSettings settings() const = 0;
    virtual void setPortText(const QString &text) = 0;

    // Picture_CTS / Picture_DSR: red when the link port's line is on, black when off.
    virtual void showLinkLines(bool cts, bool dsr) = 0;
    // Combo_Monitor_speed / Combo_Direction: the items anew, then the
    // stored text (which need not be one of them).
    virtual void refillMonitorSpeeds(const QList<int> &speeds, const QString &storedText) = 0;
    virtual void refillDirections(const QList<MonitorDirection> &directions, const QString &storedText) = 0;
    virtual void setRateMeasureEnabled(bool enabled) = 0; // mnuRateMeasure
    // Frame2, Data_only, DataAndParity; nothing disables them again.
    virtual void enableDataWidth() = 0;

    virtual void setSamplingEnabled(bool enabled) = 0; // Timer1
    virtual bool simpleMonitorPressed() const = 0;     // toolbar button 7
    virtual bool startEnabled() const = 0;             // toolbar button 1: no capture runs

    virtual StatusPanel &statusPanel() = 0;
};

} // namespace ferrox
