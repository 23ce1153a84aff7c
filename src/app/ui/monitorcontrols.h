#pragma once

#include "capture/capturerun.h"
#include "views/logwindowregistry.h"

#include <QObject>
#include <QTimer>

class QAction;

namespace ferrox {

class LogWindow;
class MainWindow;
class Session;

// The capture from the main window: the toolbar (dispatched by key), the
// Monitor menu's start and stop, the settings lock, the signal panel's two
// states, the received-byte counter "Label_RecByte" with "Check_RecByte"
// and the receive lamp "Picture1", around the capture run shared with
// ferrox-cli. It writes the capture's texts into the newest log window and
// hands the data to the post-capture processing.
//
// The counter and the lamp follow the stream on a coalescing timer
// (CounterPeriodMs), not per byte. Message boxes (the data-rate exit and
// any of the processing) open from the event loop, after the capture's end.
//
// Seams for the simple monitor: liveBytes() carries each stored block of
// stream bytes while Session::SimpleMonitorOpen() is set; at the end of a
// capture, with the simple monitor open, handBackToSimpleMonitor() asks it
// to take the stream over (the board is then not told to stop); without
// it, the board is told to stop and sampling resumes when the board was
// verified. simpleMonitorToggled() is the toolbar's "簡易モニタ" press.
class MonitorControls : public QObject, public RunningCapture
{
    Q_OBJECT
public:
    // How often the counter and the lamp are brought up to date, in ms.
    static constexpr int CounterPeriodMs = 100;

    MonitorControls(MainWindow &window, Session &session);
    ~MonitorControls() override;

    void StartMonitor();
    void StopMonitor() override;
    // Locks the six settings controls while MonitorBusy is set, else unlocks them.
    void ApplySettingsLock();

    // RunningCapture: the capture's own stop has not been asked for yet.
    bool captureRunning() const override;

    CaptureRun &run() { return m_run; }

signals:
    void liveBytes(const QByteArray &streamBytes);
    void handBackToSimpleMonitor();
    void simpleMonitorToggled(bool pressed);

private:
    void tbToolBar_ButtonClick(QAction *button);
    void Check_RecByte_Click(bool on);
    void setStartEnabled(bool enabled);
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

    MainWindow &m_window;
    Session &m_session;
    CaptureRun m_run;
    QTimer m_counterTimer;
    qint32 m_logNumber = 0; // the capture's own log window
    bool m_stopAsked = false;
    bool m_blockArrived = false;
    bool m_dataRateExit = false;
};

} // namespace ferrox
