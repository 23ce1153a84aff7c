#include "measurementrun.h"

#include "texts.h"

#include "link/linkowner.h"
#include "platform/serialport.h"

#include <QPointer>
#include <QSerialPort>

#include <utility>

namespace ferrox {

MeasurementRun::MeasurementRun(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner), m_link(owner)
{
    // An unplugged adapter or a closed pseudo-terminal never sends the
    // records: stop rather than wait for ever.
    connect(&m_owner.port(), &SerialPort::lineError, this, [this](int errorCode) {
        if (m_running && (errorCode == QSerialPort::ResourceError || errorCode == QSerialPort::ReadError)) {
            m_portLost = true;
            stop();
        }
    });
}

MeasurementRun::~MeasurementRun()
{
    // The board is stopped; no report follows from an object going away.
    if (std::exchange(m_running, false))
        m_link.stop();
}

void MeasurementRun::start()
{
    if (m_running)
        return;
    m_running = true;
    emit progressed(speedtext::progress(receivedRecordsText(0)));
    if (!m_owner.port().isOpen()) {
        // Without a port the board could neither be asked nor stopped.
        finish({MeasurementReport::Status::PortFailed, {}, speedtext::portClosed()});
        return;
    }
    m_portLost = false;
    const QPointer<MeasurementRun> self(this);
    m_link.start(
        [self](qint16 waiting) {
            if (self && self->m_running)
                emit self->progressed(speedtext::progress(receivedRecordsText(waiting)));
        },
        [self](const MeasurementOutcome &outcome) {
            if (!self || !self->m_running)
                return;
            if (self->m_portLost) {
                self->finish({MeasurementReport::Status::PortFailed, {}, speedtext::portLost()});
                return;
            }
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
        m_link.stop();
}

void MeasurementRun::finish(const MeasurementReport &report)
{
    m_running = false;
    emit finished(report);
}

} // namespace ferrox
