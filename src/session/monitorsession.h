#pragma once

#include "capturephase.h"

#include "data/monitordata.h"
#include "data/reportheader.h"
#include "settings/longcapture.h"
#include "settings/monitorsettings.h"

#include <QObject>
#include <QString>

namespace ferrox {

// The settings lines of a rendering's header, as the settings panel shows
// the choices (a choice that is not valid gives an empty line).
ReportHeaderSettings headerSettingsOf(const MonitorSettings &settings);

// What the program is doing with the board. A capture's steps take
// precedence over the rest: the simple monitor may stay open during a
// capture, and a check may wait behind one.
enum class MonitorPhase {
    Idle,
    Checking,      // a connection check holds or waits for the link
    Starting,      // a capture is started: the board is set up, its version reply awaited
    Streaming,     // the board streams into the capture
    Stopping,      // the user asked the capture to stop; the capture still holds the link
    Processing,    // the capture's stream is over: its data is judged, stored and rendered
    SimpleMonitor, // the simple monitor's window is open and no capture runs
    Measuring      // the line speed measurement window is open (it is modal)
};

// The program's session with the board, without widgets: the phase, the
// last connection check's results, the settings and the current data.
// changed() follows every change of phase, check results or whether there
// is current data; dataChanged() every new current data.
//
// Whoever starts or ends a step tells the session; every other part asks
// it: the window derives its enables, the settings lock and its checks
// from it, the sampling and the simple monitor ask it instead of a button.
class MonitorSession : public QObject
{
    Q_OBJECT
public:
    explicit MonitorSession(QObject *parent = nullptr);

    MonitorPhase phase() const;

    // The capture's own phase: the window's capture run moves it.
    CapturePhase &capture() { return m_capture; }
    const CapturePhase &capture() const { return m_capture; }

    // MonitorBusy: from a capture's start until its processing is over.
    bool MonitorBusy() const { return !m_capture.isIdle(); }
    // The capture holds the link: from its start until its stream ended
    // and the board was quieted or handed on.
    bool captureHoldsLink() const { return m_capture.holdsLink(); }
    // The start button: no capture runs, or its stop was asked for (then a
    // second start is still refused until the capture is over).
    bool startEnabled() const { return m_capture.isIdle() || m_capture.stopAsked(); }
    // The lamps stay grey whatever a late sample says.
    bool lampsGreyed() const;

    void setChecking(bool checking);
    void setMeasuring(bool measuring);
    bool SimpleMonitorOpen() const { return m_simpleMonitorOpen; }
    void setSimpleMonitorOpen(bool open);

    // The last connection check.
    bool LinkFailed() const { return m_linkFailed; }
    bool BoardVerified() const { return m_boardVerified; }
    const QString &FirmwareVersion() const { return m_firmwareVersion; }
    // The board's reply as the link-OK status shows it.
    const QString &BoardReply() const { return m_boardReply; }
    void setCheckResults(bool linkFailed, bool boardVerified, const QString &firmwareVersion,
                         const QString &boardReply = QString());

    // The user's choices as they stand; the settings panel keeps them
    // current.
    const MonitorSettings &settings() const { return m_settings; }
    void setSettings(const MonitorSettings &settings) { m_settings = settings; }

    // The window's long capture as the user set it up; read as Start is
    // pressed.
    const LongCaptureSettings &longCapture() const { return m_longCapture; }
    void setLongCapture(const LongCaptureSettings &settings) { m_longCapture = settings; }
    // A long capture lost its link and waits for the device to come back
    // (it still holds the capture: Stop ends the wait).
    bool waitingForLink() const { return m_waitingForLink; }
    void setWaitingForLink(bool waiting);

    const MonitorData &data() const { return m_data; }
    // The one writer of the current data: a capture's stream as it ends, a
    // data file opened, the editor's stream stored or reloaded. It can then
    // be shown and saved; dataChanged() follows.
    void setCurrentData(const MonitorData &data);
    // The current data can be shown and saved: a capture's stream once
    // stored, an opened file, the editor's stream; not after a capture that
    // was rejected. The data commands follow it.
    bool hasCurrentData() const { return m_hasCurrentData; }
    void setHasCurrentData(bool has);

signals:
    void changed();
    void dataChanged();

private:
    void setFlag(bool &flag, bool value);

    CapturePhase m_capture;
    bool m_checking = false;
    bool m_measuring = false;
    bool m_simpleMonitorOpen = false;
    bool m_hasCurrentData = false;
    bool m_waitingForLink = false;
    bool m_linkFailed = false;
    bool m_boardVerified = false;
    QString m_firmwareVersion;
    QString m_boardReply;
    MonitorSettings m_settings;
    LongCaptureSettings m_longCapture;
    MonitorData m_data;
};

} // namespace ferrox
