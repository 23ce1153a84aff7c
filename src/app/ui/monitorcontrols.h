#pragma once

#include "longcapturecontrols.h"

#include "capture/capturerun.h"
#include "views/logwindowregistry.h"

#include <QObject>
#include <QTimer>

class QAction;

namespace ferrox {

class Dialogs;
class LinkOwner;
class LogWindow;
class LogWindowsHookup;
class MonitorSession;
class SettingsPanel;
class SignalSampler;
class StatusPanel;

// The capture from the main window: the toolbar's start, stop and simple
// monitor buttons, the Monitor menu's start and stop, the signal panel's
// two states, the received-byte counter "Label_RecByte" with
// "Check_RecByte" and the receive lamp "Picture1", around the capture run
// shared with ferrox-cli.
// It tells the monitor session each step of the capture (the window's
// enables and the settings lock follow from there), writes the capture's
// texts into its log window and hands the data to the post-capture
// processing.
//
// A capture whose stream ended without the board's end code (an unplugged
// adapter, a board that went silent) says why in its log window and keeps
// saying it: the line comes again at the caret of the rendered text (its
// top, where the loaded view opens), and the status line shows it.
//
// The counter and the lamp follow the stream on a coalescing timer
// (CounterPeriodMs), not per byte. Message boxes (the data-rate exit and
// any of the processing) open from the event loop, after the capture's end.
//
// Seams for the simple monitor: liveBytes() carries each stored block of
// stream bytes while the simple monitor is open; at the end of a
// capture, with the simple monitor open, handBackToSimpleMonitor() asks it
// to take the stream over (the board is then not told to stop); without
// it, the board is told to stop and sampling resumes when the board was
// verified. simpleMonitorToggled() is the toolbar's "簡易モニタ" press.
//
// With the session's long capture on, Start and Stop drive the long
// capture instead (LongCaptureControls); the buffer's capture is untouched.
class MonitorControls : public QObject, public RunningCapture
{
    Q_OBJECT
public:
    // How often the counter and the lamp are brought up to date, in ms.
    static constexpr int CounterPeriodMs = 100;

    // What the capture is driven and shown with: the toolbar's start, stop
    // and simple monitor buttons, the Monitor menu's start and stop, the
    // settings panel, the status line and the dialogs.
    struct Items
    {
        QAction *start = nullptr;
        QAction *stop = nullptr;
        QAction *simpleMonitor = nullptr;
        QAction *menuStart = nullptr;
        QAction *menuStop = nullptr;
        SettingsPanel *panel = nullptr;
        StatusPanel *status = nullptr;
        Dialogs *dialogs = nullptr;
        QAction *longCaptureOpen = nullptr; // mnuLongCaptureOpen
    };
    // Everything passed stays the caller's and must outlive the controls;
    // appFolder ends with a separator.
    MonitorControls(const Items &items, MonitorSession &state, LinkOwner &owner, SignalSampler &sampler,
                    LogWindowsHookup &logWindows, const QString &appFolder);
    ~MonitorControls() override;

    void StartMonitor();
    void StopMonitor() override;

    // RunningCapture: the capture's own stop has not been asked for yet.
    bool captureRunning() const override;

    CaptureRun &run() { return m_run; }
    // Start's capture while the session's long capture is on.
    LongCaptureControls &longCapture() { return m_longCapture; }

signals:
    void liveBytes(const QByteArray &streamBytes);
    void handBackToSimpleMonitor();
    void simpleMonitorToggled(bool pressed);

private:
    void Check_RecByte_Click(bool on);
    void appendLog(const QString &text);
    void onStartFailed(const CaptureStartOutcome &outcome);
    void onStreamStarted(const QByteArray &reply);
    void onStored(const QByteArray &bytes, qint32 CaptureCount);
    void onStopSent(CaptureRun::StopKind kind, bool written);
    void onStreamEnded(CaptureRecorder::Exit exit);
    void onFinished();
    void showProgress();
    void TP_Monitor();
    LogWindow *log() const;
    void showStatus(const QString &text);

    const Items m_items;
    MonitorSession &m_state;
    LinkOwner &m_owner;
    SignalSampler &m_sampler;
    LogWindowsHookup &m_logWindows;
    const QString m_appFolder;
    CaptureRun m_run;
    LongCaptureControls m_longCapture;
    QTimer m_counterTimer;
    qint32 m_logNumber = 0; // the capture's own log window
    qint32 m_displayMode = 0; // DisplayModeNumber chosen as the capture started
    ExitReport m_exitReport; // how the stream ended, told again after the processing
    bool m_blockArrived = false;
};

} // namespace ferrox
