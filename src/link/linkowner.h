#pragma once

#include "exchanges.h"
#include "linkscript.h"

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>

namespace ferrox {

class SerialPort;

// Who has the link port.
enum class LinkUse {
    None,
    Check,         // a connection check, from its query to its last status text
    PortChange,    // a port choice, with the check that follows it
    Sample,        // one signal sample
    Capture,       // a capture, from its start until endCapture()
    SimpleMonitor, // the simple monitor's stream, or its start or stop
    Measurement,   // a line speed measurement
    Settings       // a link-speed choice applied to the port
};

struct CheckOutcome
{
    enum class Status { PortFailed, NoAnswer, ForeignBoard, UnsupportedFirmware, Verified };
    Status status = Status::NoAnswer;
    int errorCode = 0;  // PortFailed: the port's error code
    QByteArray reply;   // every byte read, at least 22; empty without a reply
};

struct CheckCallbacks
{
    std::function<void(bool cts, bool dsr)> linesSampled; // the port's own lines, before the query
    std::function<void()> querySent;                      // CMD_VERSION went out
    std::function<void(const CheckOutcome &)> done;
};

struct SampleOutcome
{
    enum class Status { PortFailed, NoAnswer, Sampled };
    Status status = Status::NoAnswer;
    int errorCode = 0;
    std::uint8_t stateByte = 0xFF; // bit i = 1: signal i not asserted
};

struct CaptureStartRequest
{
    QString firmwareVersion; // chooses the speed table and whether CMD_MODE goes out
    MonitorSettings settings; // the monitored speed, the direction, the data width
};

struct CaptureStartOutcome
{
    enum class Status {
        PortFailed,           // the port could not be opened
        UnsupportedSpeed,     // the speed is not valid or in no row of the firmware's table
        UnsupportedDirection, // the direction is not valid
        NoReply,              // no 22-byte version reply within one second
        Streaming             // the direction went out; the board streams
    };
    Status status = Status::NoReply;
    int errorCode = 0;
    QByteArray reply; // the version reply (Streaming): every byte read
};

struct SimpleMonitorRequest
{
    QString firmwareVersion;
    MonitorSettings settings; // the monitored speed and the direction
};

struct MeasurementOutcome
{
    enum class Status { Measured, Stopped };
    Status status = Status::Stopped;
    QByteArray records; // Measured: every byte read, at least 101
};

// The one owner of the link port. Exchanges never interleave: each use
// holds the link while it talks to the board, and a request that finds
// the link held waits its turn in order of arrival. A sampling tick that
// finds the link busy is skipped; a second connection check while one is
// pending is refused. The simple monitor's stream gives way to any other
// request but a sampling tick.
//
// Callbacks run while their use still holds the link, so they may finish
// the work on the port (a sample's stop path); requests they make run
// after it.
class LinkOwner : public QObject
{
    Q_OBJECT
public:
    using Job = std::function<void()>;

    explicit LinkOwner(SerialPort &port, QObject *parent = nullptr);
    ~LinkOwner() override;

    SerialPort &port() const { return m_port; }
    LinkUse holder() const { return m_holder; }
    // A check holds the link or waits for it.
    bool checkPending() const;

    // Runs job now when the link is free for use, else when its turn
    // comes; the job ends its hold with release(use). False when refused
    // (a sample finding the link busy, a check while a check is pending).
    bool request(LinkUse use, Job job);
    void release(LinkUse use);

    // The connection check's exchange, for the holder of a Check or
    // PortChange request; the hold continues after done.
    void checkLink(const CheckRequest &request, CheckCallbacks callbacks);
    // Any script for the current holder (start-up, port and speed choices).
    void runScript(LinkScript script, LinkScriptRunner::Done done);

    // One signal sample. False (and nothing happens) when the link is busy.
    bool sampleSignals(std::function<void(const SampleOutcome &)> done);

    // A capture start, in its turn. On Streaming the capture keeps the
    // link and reads the stream itself until it calls endCapture(); on
    // any other outcome the link is released after done.
    void startCapture(const CaptureStartRequest &request,
                      std::function<void(const CaptureStartOutcome &)> done);
    // Asks the board to end the stream. A stop asked for before the stream
    // runs goes out right after the start. done tells whether CMD_STOP was
    // written.
    enum class StopReason { User, Forced };
    void stopCapture(StopReason reason, std::function<void(bool written)> done);
    void endCapture();

    // The simple monitor's stream on and off. The start keeps the link for
    // the stream (threshold 2: the stream arrives by receive notifications
    // while holder() is SimpleMonitor); the stop releases it, then calls
    // stopped.
    void startSimpleMonitor(const SimpleMonitorRequest &request);
    void stopSimpleMonitor(std::function<void()> stopped = {});

    // A line speed measurement: progress reports the waiting byte count,
    // done the records or the user's stop. Unlike other callbacks, done runs
    // after the link is released: the board has been told to stop, and a
    // shutdown from done must not tell it again.
    void startMeasurement(std::function<void(qint16 waiting)> progress,
                          std::function<void(const MeasurementOutcome &)> done);
    void stopMeasurement();

    // The program closes: requests are dropped; a board that may stream or
    // measure is told to stop; the port is closed.
    void shutdown();

private:
    struct Pending
    {
        LinkUse use;
        Job job;
    };

    bool canRunNow(LinkUse use) const;
    void grant(LinkUse use, const Job &job);
    void drain();
    LinkScriptRunner *prepare(LinkScript script);
    void configureCapture(const CaptureStartRequest &request,
                          std::function<void(const CaptureStartOutcome &)> done);
    void finishCaptureStart(const CaptureStartOutcome &outcome,
                            const std::function<void(const CaptureStartOutcome &)> &done);
    void sendCaptureStop(bool discardFirst, std::function<void(bool written)> done);

    SerialPort &m_port;
    LinkUse m_holder = LinkUse::None;
    std::deque<Pending> m_pending;
    QPointer<LinkScriptRunner> m_runner;
    bool m_drainScheduled = false;
    bool m_captureStreaming = false;
    // A capture stop asked for before the stream ran.
    std::function<void(bool)> m_deferredStop;
    bool m_deferredStopDiscards = false;
    bool m_measurementStopRequested = false;
};

} // namespace ferrox
