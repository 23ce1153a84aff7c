#pragma once

#include "consolecapture.h"
#include "devicewatch.h"
#include "splitoutput.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace ferrox {

// What a capture into a split series is asked to do.
struct SplitCaptureRequest
{
    // The link, the monitored line; the port also names the device whose
    // node is watched while the link is down.
    MonitorSettings settings;
    ConsoleSettingsCheck settingsCheck; // see ConsoleCapture::setSettingsCheck()
    QString dataPath;                   // the series' name, see SplitFiles; empty: no files (a live stream only)
    qint32 splitBytes = StreamSplitter::LargestPiece;
    int keepFiles = 0;
    // Go on after a lost link (or a link that is not there at the start)
    // instead of ending.
    bool resume = false;
    // How long the link may stay down before the capture gives up; 0 waits for ever.
    int resumeTimeoutMs = 0;
    // How often a device that is there but does not answer is tried again.
    int retryMs = 2000;
};

// How a split capture ended.
struct SplitCaptureResult
{
    enum class End {
        Stopped,      // requestStop(): the user's stop, a signal, --seconds
        StreamEnded,  // the stream ended unasked: the board's own end code, or a PC that fell behind
        LinkLost,     // the link went and the capture does not resume
        GaveUp,       // the link did not come back within resumeTimeoutMs
        LinkFailed,   // the first check or start failed, and the capture does not resume
        Refused,      // the board found cannot take the settings
        WriteFailed   // a file could not be written; the files before it are kept
    };
    End end = End::Stopped;
    QString text;        // LinkFailed, Refused: why, as ConsoleCaptureResult::text
    CaptureExit lastExit = CaptureExit::EndCode; // how the last stream ended
    int resumes = 0;     // streams begun after a lost link
};

// A capture longer than the buffer into numbered data files, for ferrox-cli
// and the window's long capture alike. Each stream is a ConsoleCapture (the
// connection check, the start sequence, the stop at the end); with resume
// on, a lost link (a port error: an unplugged adapter, a board that hung
// up) closes the current file in order and the capture waits for the
// device to come back at the same path, without polling it (DeviceWatch),
// checks the board and begins the next stream in the next file, whose
// sidecar records when the link was lost. Stopping while it waits ends it
// at once. One run per object.
class ResumingCapture : public QObject
{
    Q_OBJECT
public:
    ResumingCapture(LinkOwner &owner, SplitCaptureRequest request, QObject *parent = nullptr);
    ~ResumingCapture() override;

    void start();
    void requestStop();

    // The files; nothing without a data path.
    const SplitOutput *output() const { return m_output ? &*m_output : nullptr; }
    bool isWaiting() const { return m_phase == Phase::Waiting; }

signals:
    // The first stream's log (check, reply, start) and the lines each
    // stream ends with; lines end in LF. A resumed stream's check and
    // start are told by resumed().
    void logText(const QString &text);
    // A stream begins (the first, or one after a lost link).
    void streamStarted();
    // Each stored block of every stream and when it arrived (wall clock,
    // microseconds since 1970); the end code of the last one included.
    void stored(const QByteArray &bytes, qint64 epochMicros);
    void progress(qint64 monitoredBytes);
    // The link was lost at lostEpochMicros; reason: the port's failure line;
    // lastByteCut: a lone half was dropped at the end of the file.
    void linkLost(qint64 lostEpochMicros, const QString &reason, bool lastByteCut);
    // Waiting, the device is not there or did not pass the check: said once
    // for each new reason (LF line ends).
    void waiting(const QString &reason);
    // The board that answered has another version than before.
    void boardChanged(const QString &before, const QString &now);
    // The link came back: the stream begun at backEpochMicros goes to
    // `file` onwards; resumes counts them.
    void resumed(qint64 backEpochMicros, const QString &file, int resumes);
    void finished(const SplitCaptureResult &result);

private:
    enum class Phase { Idle, Capturing, Waiting, Ended };

    void attempt();
    void onStreamStarted();
    void onStored(const QByteArray &bytes, qint64 micros);
    void onCaptureFinished(const ConsoleCaptureResult &result);
    void wait(const QString &reason);
    void onLookAgain();
    void end(SplitCaptureResult::End how, const QString &text = {});
    QString devicePath() const;

    LinkOwner &m_owner;
    SplitCaptureRequest m_request;
    std::optional<SplitOutput> m_output;
    std::unique_ptr<ConsoleCapture> m_capture; // the stream under way, or the last one
    DeviceWatch m_watch;
    QTimer m_giveUp;
    Phase m_phase = Phase::Idle;
    SplitCaptureResult m_result;
    QString m_firmware;     // of the last board that passed the check
    QString m_lastReason;   // the last waiting() said
    std::optional<qint64> m_lostAt;
    qint64 m_streamStart = 0; // wall clock of the stream under way
    bool m_streaming = false; // the capture under way has begun its stream
    bool m_everStreamed = false;
    bool m_refused = false;
    bool m_writeFailed = false;
    bool m_stopRequested = false;
    bool m_gaveUp = false;
};

} // namespace ferrox
