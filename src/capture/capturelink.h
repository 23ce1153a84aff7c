#pragma once

#include "link/linkowner.h"
#include "link/protocol.h"
#include "settings/monitorsettings.h"

#include <QObject>
#include <QString>

#include <functional>

namespace ferrox {

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

// The line that ends a start the board cannot be set up for (a port that
// will not open included): it names the setting that is wrong.
QString unsupportedSettingLine(CaptureStartOutcome::Status status);

// The commands for the chosen speed and direction; none for a choice that
// is not valid or that the firmware's table lacks. The simple monitor's
// start sends the same.
std::optional<std::uint8_t> speedCommand(const QString &firmwareVersion, const MonitorSettings &settings);
std::optional<std::uint8_t> directionCommand(const MonitorSettings &settings);

// A capture's exchanges with the board, in its turn on the link: the start,
// the stops and the end.
class CaptureLink : public QObject
{
    Q_OBJECT
public:
    enum class StopReason { User, Forced };

    explicit CaptureLink(LinkOwner &owner, QObject *parent = nullptr);

    // The start, in its turn. On Streaming the capture keeps the link and
    // reads the stream itself until release(); on any other outcome the
    // link is let go after done.
    void start(const CaptureStartRequest &request, std::function<void(const CaptureStartOutcome &)> done);
    // Asks the board to end the stream: on the held link while the capture
    // holds it (the capture run asks only once its stream runs), else in a
    // turn of its own. done tells whether CMD_STOP was written.
    void stop(StopReason reason, std::function<void(bool written)> done);
    // The end of the stream, on the held link (see its script in capturelink.cpp).
    void runEndScript(bool quietBoard, std::function<void()> done);
    // The capture lets go of the link.
    void release();

    // The port, while the capture holds the link.
    SerialPort *port() const { return m_lease.isHeld() ? &m_lease.port() : nullptr; }

private:
    void configure(const CaptureStartRequest &request, std::function<void(const CaptureStartOutcome &)> done);
    void finishStart(const CaptureStartOutcome &outcome, const std::function<void(const CaptureStartOutcome &)> &done);
    void sendStop(bool discardFirst, std::function<void(bool written)> done);

    LinkOwner &m_owner;
    LinkLease m_lease;
};

} // namespace ferrox
