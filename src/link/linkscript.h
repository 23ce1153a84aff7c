#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace ferrox {

class SerialPort;

// One step of an exchange with the board. Exchanges are written as a
// list of steps so that what goes to the port, and in which order, reads
// like the protocol itself.
struct LinkStep
{
    enum class Kind {
        Close,        // close the port if it is open
        SetPort,      // value: port number
        Open,         // open the port
        OpenIfClosed, // open the port unless it is open
        Settings,     // text: line settings such as " 57600,n,8,1"
        Threshold,    // value: receive threshold (0 = no notifications)
        Discard,      // empty the receive buffer
        Rts,          // value: 1 on, 0 off; a port without modem lines is no failure
        Dtr,          // likewise
        SampleLines,  // read the port's CTS and DSR
        Write,        // value: the one command byte
        Pause,        // value: milliseconds
        Await,        // value: bytes to wait for; timeoutMs: limit, -1 none
        Read,         // take every waiting byte as the reply
        Drain,        // wait until the written bytes have left; timeoutMs: limit
    };

    Kind kind = Kind::Discard;
    int value = 0;
    int timeoutMs = -1;
    QString text;
    // A failure of this step ends the exchange as a port failure; other
    // failing steps are skipped and the exchange goes on.
    bool critical = false;
};

using LinkScript = QList<LinkStep>;

namespace step {
LinkStep close();
LinkStep setPort(int portNumber);
LinkStep open();
LinkStep openIfClosed();
LinkStep settings(const QString &settingsText);
LinkStep threshold(int count);
LinkStep discard();
LinkStep rts(bool on);
LinkStep dtr(bool on);
LinkStep sampleLines();
LinkStep write(std::uint8_t command);
LinkStep pause(int milliseconds);
LinkStep await(int count, int timeoutMs);
LinkStep read();
LinkStep drain(int timeoutMs);
// The same step, ending the exchange as a port failure when it fails.
LinkStep critical(LinkStep s);
} // namespace step

// The error code for a port number no port can have
// (QSerialPort::DeviceNotFoundError).
inline constexpr int InvalidPortError = 1;

struct LinkScriptResult
{
    enum class Status {
        Completed,
        PortFailed, // a critical step failed; errorCode says why
        TimedOut,   // an Await ran out of time before enough bytes waited
        Cancelled   // cancel() during an Await without limit
    };
    Status status = Status::Completed;
    int errorCode = 0;
    QByteArray reply;  // every byte of the last Read
    bool cts = false;  // from SampleLines
    bool dsr = false;
};

// Runs one script on a port, driven by the port's arrival signal and by
// single-shot timers: it never waits in a loop. An Await is satisfied as
// soon as at least its count waits (a negative, overrun count satisfies
// any wait); its limit is measured from the moment the wait begins, on a
// monotonic clock. A port error event during a critical Await ends the
// script as a port failure.
class LinkScriptRunner : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const LinkScriptResult &)>;

    LinkScriptRunner(SerialPort &port, LinkScript script, QObject *parent = nullptr);

    // Runs the steps up to the first wait at once; done is called exactly
    // once, possibly before start() returns.
    void start(Done done);
    // Ends a running Await as Cancelled; before that Await is reached, the
    // script ends there instead.
    void cancel();
    // Stops at once without reporting: the program is closing the link.
    void abandon();
    bool isRunning() const { return m_running; }

signals:
    void linesSampled(bool cts, bool dsr);
    void commandSent(std::uint8_t command);
    // While an Await is unsatisfied: at its start and after each arrival.
    void waiting(qint16 count);

private:
    void advance();
    bool awaitSatisfied() const;
    void onArrival();
    void onTimer();
    void onLineError(int errorCode);
    void finish(LinkScriptResult::Status status, int errorCode = 0);

    SerialPort &m_port;
    LinkScript m_script;
    qsizetype m_next = 0;
    Done m_done;
    LinkScriptResult m_result;
    QTimer m_timer;
    bool m_running = false;
    bool m_awaiting = false;
    bool m_pausing = false;
    bool m_draining = false;
    QDeadlineTimer m_drainDeadline;
    bool m_cancelRequested = false;
};

} // namespace ferrox
