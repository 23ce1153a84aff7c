#include "measurementrun.h"

#include "texts.h"

#include "link/linkowner.h"
#include "platform/serialport.h"

#include <QPointer>

namespace ferrox {

MeasurementRun::MeasurementRun(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner) {}

MeasurementRun::~MeasurementRun()
{
    if (m_running)
        m_owner.stopMeasurement();
}

void MeasurementRun::start()
{
    if (m_running)
        return;
    m_running = true;
    emit progressed(speedtext::progress(receivedRecordsText(0)));
    if (!m_owner.port().isOpen()) {
        // Without a port the board could neither be asked nor stopped.
        finish({MeasurementReport::Status::PortClosed, {}, speedtext::portClosed()});
        return;
    }
    const QPointer<MeasurementRun> self(this);
    m_owner.startMeasurement(
        [self](qint16 waiting) {
            if (self && self->m_running)
                emit self->progressed(speedtext::progress(receivedRecordsText(waiting)));
        },
        [self](const MeasurementOutcome &outcome) {
            if (!self)
                return;
            if (outcome.status == MeasurementOutcome::Status::Stopped) {
                self->finish({MeasurementReport::Status::Stopped, {}, speedtext::stopped()});
                return;
            }
            const RateEvaluation evaluation = evaluateMeasurement(outcome.records);
            self->finish({MeasurementReport::Status::Measured, evaluation, speedtext::result(evaluation.text)});
        });
}

void MeasurementRun::stop()
{
    if (m_running)
        m_owner.stopMeasurement();
}

void MeasurementRun::finish(const MeasurementReport &report)
{
    m_running = false;
    emit finished(report);
}

} // namespace ferrox
