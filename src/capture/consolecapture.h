#pragma once

#include "capturerun.h"

#include "data/monitordata.h"
#include "link/consolecheck.h"
#include "link/exchanges.h"

#include <QObject>
#include <QString>

namespace ferrox {

struct ConsoleCaptureResult
{
    enum class Status {
        LinkFailed, // nothing captured: the check or the capture start failed
        Captured    // data holds the stream and its end code
    };
    Status status = Status::LinkFailed;
    // Captured: how the stream ended.
    CaptureEnding ending;
    MonitorData data;        // the stream; CaptureTimestamp = end of receiving
    QString firmwareVersion; // from the connection check
    QString text;            // LinkFailed: why, in the program's words, LF line ends
};

// A whole capture for programs without a window (ferrox-cli): the
// connection check (its firmware chooses the speed table and CMD_MODE),
// then the capture run with its texts. The board is told to stop at the
// end, as the program does after every capture, and the link released
// before finished(). One capture per object.
class ConsoleCapture : public QObject
{
    Q_OBJECT
public:
    static constexpr int EndCodeWaitMs = CaptureRun::EndCodeWaitMs;

    explicit ConsoleCapture(LinkOwner &owner, QObject *parent = nullptr);

    // settings: the link (its port also names it in texts: a device path,
    // "COM1"), the monitored speed, the direction and the data width.
    void start(const MonitorSettings &settings);
    // Held against the firmware before the board is set up (none by default).
    void setSettingsCheck(ConsoleSettingsCheck check) { m_settingsCheck = std::move(check); }
    // The user's stop. Asked for before the stream runs (before start()
    // too), it goes out as soon as the stream starts. Repeats, and stops after the end, do nothing.
    void requestStop();

    // Stream bytes stored so far.
    qint32 CaptureCount() const { return m_run.CaptureCount(); }
    // False: a capture longer than the buffer, its stream taken from
    // stored() (see CaptureRecorder::setKeepsStream).
    void setKeepsStream(bool keeps) { m_run.setKeepsStream(keeps); }
    // The stream's start (set once it streams) and the arrivals of a kept stream.
    const ArrivalTimes &arrivalTimes() const { return m_run.arrivalTimes(); }

signals:
    // The capture's log as it grows: the check's text, the board's reply,
    // "モニター開始 ... " and the lines of how the stream ended.
    // Lines end in LF.
    void logText(const QString &text);
    // The board streams: the capture proper begins.
    void streamStarted();
    // Stream bytes stored so far, after each block.
    void progress(qint32 CaptureCount);
    // Each stored block (the end code included) and when it arrived, in
    // microseconds since the stream started.
    void stored(const QByteArray &bytes, qint64 arrivalMicros);
    void finished(const ConsoleCaptureResult &result);

private:
    void onChecked(bool verified, const QString &text, const QString &firmwareVersion);
    void onStartFailed(const CaptureStartOutcome &outcome);
    void onStreamStarted(const QByteArray &reply);
    void onStopSent(CaptureRun::StopKind kind, bool written);
    void onStreamEnded(CaptureRecorder::Exit exit);
    void fail(const QString &text);

    LinkOwner &m_owner;
    MonitorSettings m_settings;
    ConsoleSettingsCheck m_settingsCheck;
    // Preparing from the object's making through the connection check; the
    // run moves it on from there.
    CapturePhase m_phase;
    CaptureRun m_run;
    ConsoleCaptureResult m_result;
};

} // namespace ferrox
