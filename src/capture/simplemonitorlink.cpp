#include "simplemonitorlink.h"

#include "capturelink.h"

#include "link/linkscript.h"
#include "link/protocol.h"
#include "platform/serialport.h"

#include <QPointer>

namespace ferrox {

namespace {

using namespace step;

// Simple monitor start: a command without a byte (a text the tables do
// not know) is left out. What waits is dropped before the reader is armed,
// never after: once the direction goes out the stream is the line's, and a
// discard then would eat the start of its first message. The reader is
// woken by every arrival, not at two waiting bytes: the low half of a
// monitored byte that arrives alone (a USB adapter splits a stream where
// it likes) would otherwise wait for the line's next message.
LinkScript simpleMonitorStartScript(std::optional<std::uint8_t> speedCommand,
                                    std::optional<std::uint8_t> directionCommand)
{
    LinkScript script{discard()};
    if (speedCommand)
        script << write(*speedCommand);
    script << pause(SpeedPauseMs) << threshold(1);
    if (directionCommand)
        script << write(*directionCommand);
    script << pause(SpeedPauseMs);
    return script;
}

LinkScript simpleMonitorStopScript()
{
    return {discard(), threshold(0), write(CMD_STOP)};
}

// A streaming board is told to stop when the program closes.
const LinkRequest SimpleMonitorLinkRequest{"simple monitor", false, false, true, QByteArray(1, char(CMD_STOP))};

} // namespace

SimpleMonitorLink::SimpleMonitorLink(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner) {}

void SimpleMonitorLink::start(const SimpleMonitorRequest &request)
{
    m_owner.request(SimpleMonitorLinkRequest, [self = QPointer<SimpleMonitorLink>(this), request](const LinkLease &lease) {
        if (self)
            self->m_lease = lease;
        lease.runScript(simpleMonitorStartScript(speedCommand(request.firmwareVersion, request.settings),
                                                 directionCommand(request.settings)),
                        [lease, batch = request.batchArrivals](const LinkScriptResult &) {
                            if (batch)
                                lease.port().setArrivalBatching(true);
                        });
    });
}

void SimpleMonitorLink::stop(std::function<void()> stopped)
{
    m_owner.request(SimpleMonitorLinkRequest, [self = QPointer<SimpleMonitorLink>(this), stopped](const LinkLease &lease) {
        if (self)
            self->m_lease = lease;
        lease.runScript(simpleMonitorStopScript(), [lease, stopped](const LinkScriptResult &) {
            lease.end();
            if (stopped)
                stopped();
        });
    });
}

} // namespace ferrox
