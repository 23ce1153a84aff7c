#pragma once

#include "link/linkowner.h"
#include "settings/monitorsettings.h"

#include <QObject>
#include <QString>

#include <functional>

namespace ferrox {

struct SimpleMonitorRequest
{
    QString firmwareVersion;
    MonitorSettings settings; // the monitored speed and the direction
    // A reader that shows no arrival times may be woken in batches (see
    // ArrivalBatching); one that stamps or splits by time must not be.
    bool batchArrivals = false;
};

// The simple monitor's stream on and off, in its turn on the link. The
// stream arrives by receive notifications (threshold 1: every byte is read
// as it arrives) while the stream holds the link; it gives way to any
// request but a signal sample.
class SimpleMonitorLink : public QObject
{
    Q_OBJECT
public:
    explicit SimpleMonitorLink(LinkOwner &owner, QObject *parent = nullptr);

    void start(const SimpleMonitorRequest &request);
    // Lets go of the link, then calls stopped.
    void stop(std::function<void()> stopped = {});
    // The port while the stream (or its start or stop) holds the link,
    // else nullptr.
    SerialPort *port() const { return m_lease.isHeld() ? &m_lease.port() : nullptr; }

private:
    LinkOwner &m_owner;
    LinkLease m_lease;
};

} // namespace ferrox
