#include "consolemeasurement.h"

#include "texts.h"

#include "link/consolecheck.h"
#include "link/linkowner.h"
#include "link/protocol.h"

namespace ferrox {

namespace {

QString withLfLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!text.endsWith(u'\n'))
        text += u'\n';
    return text;
}

} // namespace

ConsoleMeasurement::ConsoleMeasurement(LinkOwner &owner, QObject *parent)
    : QObject(parent), m_owner(owner), m_run(owner)
{
    connect(&m_run, &MeasurementRun::progressed, this, &ConsoleMeasurement::progressed);
    connect(&m_run, &MeasurementRun::finished, this, [this](const MeasurementReport &report) {
        ConsoleMeasurementResult result;
        result.evaluation = report.evaluation;
        result.text = withLfLineEnds(report.text);
        switch (report.status) {
        case MeasurementReport::Status::Measured:
            result.status = ConsoleMeasurementResult::Status::Measured;
            break;
        case MeasurementReport::Status::Stopped:
            result.status = ConsoleMeasurementResult::Status::Stopped;
            break;
        case MeasurementReport::Status::PortFailed:
            result.status = ConsoleMeasurementResult::Status::LinkFailed;
            break;
        }
        finish(result);
    });
}

void ConsoleMeasurement::start(const CheckRequest &request, const QString &portName)
{
    runConsoleCheck(m_owner, request, portName, [this, request](const ConsoleCheckResult &check) {
        ConsoleMeasurementResult result;
        if (!check.verified) {
            result.text = check.text;
            finish(result);
            return;
        }
        const std::optional<FirmwareFeatures> features = firmwareFeatures(check.firmwareVersion, request.linkSpeed);
        if (!features || !features->rateMeasure) {
            result.status = ConsoleMeasurementResult::Status::NotOffered;
            result.text = withLfLineEnds(speedtext::notOffered(check.firmwareVersion));
            finish(result);
            return;
        }
        if (m_stopRequested) {
            result.status = ConsoleMeasurementResult::Status::Stopped;
            result.text = withLfLineEnds(speedtext::stopped());
            finish(result);
            return;
        }
        emit measuring();
        m_run.start();
    });
}

void ConsoleMeasurement::requestStop()
{
    m_stopRequested = true;
    m_run.stop();
}

void ConsoleMeasurement::finish(ConsoleMeasurementResult result)
{
    if (m_finished)
        return;
    m_finished = true;
    emit finished(result);
}

} // namespace ferrox
