#pragma once

#include "protocol.h"

#include "settings/monitorsettings.h"

#include <QString>

namespace ferrox {

class StatusPanel;

// What the last connection check found; the rest of the program reads it.
struct CheckResults
{
    bool LinkFailed = false;    // no or no usable answer
    bool BoardVerified = false; // a supported board answered
    QString FirmwareVersion;    // bytes 10..14 of the last reply of 22 bytes or more
    QString BoardReply;         // bytes 0..15 of that reply
};

// What the connection check reads from the program and tells it, in the
// board's terms; the window decides how to show it.
class LinkPanel
{
public:
    virtual ~LinkPanel();

    // The settings as chosen: the port, the link speed, RTS and DTR.
    virtual MonitorSettings settings() const = 0;
    // The results are kept by the program, not by the check: it writes the
    // reply as it reads it and the verdict at its end (until then the last
    // check's verdict stands).
    virtual CheckResults checkResults() const = 0;
    virtual void setCheckResults(const CheckResults &results) = 0;
    // A port change failed: the port in use is shown as the choice again.
    virtual void setPortText(const QString &text) = 0;

    // The link port's CTS and DSR lines as the check read them.
    virtual void showLinkLines(bool cts, bool dsr) = 0;
    // The verified board's firmware offers these features.
    virtual void offerFeatures(const FirmwareFeatures &features) = 0;

    // The sampling of the monitored line's control signals.
    virtual void setSamplingEnabled(bool enabled) = 0;
    virtual bool simpleMonitorOn() const = 0;
    // A capture runs, from its start until its processing is over.
    virtual bool monitorBusy() const = 0;

    virtual StatusPanel &statusPanel() = 0;
};

} // namespace ferrox
