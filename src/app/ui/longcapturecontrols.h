#pragma once

#include "capture/resumingcapture.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QAction;

namespace ferrox {

class Dialogs;
class LinkOwner;
class LogWindowsHookup;
class MonitorSession;
class SettingsPanel;
class SignalSampler;
class StatusPanel;

// The window's long capture: with the session's long capture on, Start
// captures into a series of numbered data files in the chosen folder with
// the engine of ferrox-cli's --split-bytes (ResumingCapture), so the run
// is as long as the disk allows. Its log (the check, the board's reply,
// each lost link and resume, the end) goes to a log window of its own;
// the counter "Label_RecByte" shows the monitored bytes of the run and of
// the file being written, the receive lamp the blocks as they arrive.
//
// With "自動再接続" a lost link closes the file in order and the capture
// waits for the device to come back: the session says it waits, the
// status line says since when, and the lamp is yellow until the next
// stream begins in the next file. Stop while it waits ends it at once.
//
// The capture moves the session's capture phase as the buffer's capture
// does, so the window's enables and the settings lock follow. Finished
// files can be opened while it runs ("mnuLongCaptureOpen", from the
// series' folder).
class LongCaptureControls : public QObject
{
    Q_OBJECT
public:
    static constexpr int CounterPeriodMs = 100;

    struct Items
    {
        SettingsPanel *panel = nullptr;
        StatusPanel *status = nullptr;
        Dialogs *dialogs = nullptr;
        QAction *openFile = nullptr; // mnuLongCaptureOpen
    };
    // Everything passed stays the caller's and must outlive the controls;
    // appFolder ends with a separator.
    LongCaptureControls(const Items &items, MonitorSession &state, LinkOwner &owner, SignalSampler &sampler,
                        LogWindowsHookup &logWindows, const QString &appFolder);
    ~LongCaptureControls() override;

    // A long capture of this object runs (until its end is presented).
    bool isRunning() const { return m_capture != nullptr; }
    void start();
    void requestStop();
    // The window closes and the link owner has shut the link down (the
    // board told to stop, the port closed): the run goes at once, its
    // finished files kept, the file under way not written.
    void abandon();

    // The run under way or the last one; none before the first.
    const ResumingCapture *capture() const { return m_capture ? m_capture.get() : m_last.get(); }

signals:
    // Each stored block of stream bytes, as it arrives.
    void streamBytes(const QByteArray &bytes);
    // The run is over and presented; the session's capture is idle again.
    void ended();

private:
    void appendLog(const QString &text);
    void showStatus(const QString &text);
    void showProgress();
    void onStreamStarted();
    void onWaiting(const QString &reason);
    void onLinkLost(qint64 lostEpochMicros, bool lastByteCut);
    void onResumed(qint64 backEpochMicros, const QString &file);
    void onFinished(const SplitCaptureResult &result);
    void openFinishedFile();

    const Items m_items;
    MonitorSession &m_state;
    LinkOwner &m_owner;
    SignalSampler &m_sampler;
    LogWindowsHookup &m_logWindows;
    const QString m_appFolder;
    std::unique_ptr<ResumingCapture> m_capture;
    std::unique_ptr<ResumingCapture> m_last; // kept for its files once over
    QString m_folder;                        // of the series under way or the last
    QTimer m_counterTimer;
    qint32 m_logNumber = 0;
    bool m_blockArrived = false;
};

} // namespace ferrox
