#include "measurementlink.h"

#include "link/linkscript.h"
#include "link/protocol.h"

#include <QPointer>

#include <utility>

namespace ferrox {

namespace {

using namespace step;

// Line speed measurement: 101 bytes without time limit, then stop.
LinkScript measurementScript()
{
    return {discard(), threshold(0), write(CMD_MEASURE), await(MeasureReplyLength, -1), read(),
            discard(), write(CMD_STOP)};
}

// The measurement stopped by the user.
LinkScript measurementStopScript()
{
    return {discard(), write(CMD_STOP)};
}

} // namespace

MeasurementLink::MeasurementLink(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner) {}

void MeasurementLink::start(std::function<void(qint16 waiting)> progress,
                            std::function<void(const MeasurementOutcome &)> done)
{
    // A board that measures when the program closes is told to stop.
    const LinkRequest measurement{"measurement", false, false, false, QByteArray(1, char(CMD_STOP))};
    ++m_waiting;
    m_owner.request(measurement, [self = QPointer<MeasurementLink>(this), progress, done](const LinkLease &lease) {
        if (!self) {
            lease.end();
            return;
        }
        --self->m_waiting;
        self->m_lease = lease;
        LinkScriptRunner *runner = lease.prepareScript(measurementScript());
        if (progress)
            connect(runner, &LinkScriptRunner::waiting, runner, progress);
        // A stop asked for while this request waited its turn.
        if (std::exchange(self->m_stopRequested, false))
            runner->cancel();
        runner->start([lease, done](const LinkScriptResult &result) {
            // The board is stopped before done, so a done that closes the
            // link finds nothing left to stop.
            if (result.status == LinkScriptResult::Status::Completed) {
                lease.end();
                done({MeasurementOutcome::Status::Measured, result.reply});
                return;
            }
            lease.runScript(measurementStopScript(), [lease, done](const LinkScriptResult &) {
                lease.end();
                done({MeasurementOutcome::Status::Stopped, {}});
            });
        });
    });
}

void MeasurementLink::stop()
{
    if (m_lease.isHeld()) {
        m_lease.cancelScript();
        return;
    }
    m_stopRequested = m_waiting > 0;
}

} // namespace ferrox
