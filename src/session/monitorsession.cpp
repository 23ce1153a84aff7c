#include "monitorsession.h"

#include "settings/settingsschema.h"

namespace ferrox {

ReportHeaderSettings headerSettingsOf(const MonitorSettings &settings)
{
    const auto speed = [](const std::optional<int> &bitsPerSecond) {
        return bitsPerSecond ? speedText(*bitsPerSecond) : QString();
    };
    ReportHeaderSettings header;
    header.port = settings.port;
    header.pcSpeed = speed(settings.linkSpeed);
    header.monitorSpeed = speed(settings.monitoredSpeed);
    header.direction = settings.direction ? directionText(*settings.direction) : QString();
    header.dataOnly = settings.dataWidth == DataWidth::DataOnly;
    return header;
}

MonitorSession::MonitorSession(QObject *parent) : QObject(parent) {}

MonitorPhase MonitorSession::phase() const
{
    switch (m_capture) {
    case CaptureStep::Starting:
        return m_stopAsked ? MonitorPhase::Stopping : MonitorPhase::Starting;
    case CaptureStep::Streaming:
        return m_stopAsked ? MonitorPhase::Stopping : MonitorPhase::Streaming;
    case CaptureStep::Processing:
        return MonitorPhase::Processing;
    case CaptureStep::None:
        break;
    }
    if (m_measuring)
        return MonitorPhase::Measuring;
    if (m_checking)
        return MonitorPhase::Checking;
    return m_simpleMonitorOpen ? MonitorPhase::SimpleMonitor : MonitorPhase::Idle;
}

bool MonitorSession::captureHoldsLink() const
{
    return m_capture == CaptureStep::Starting || m_capture == CaptureStep::Streaming;
}

bool MonitorSession::lampsGreyed() const
{
    switch (phase()) {
    case MonitorPhase::Idle:
    case MonitorPhase::Checking:
    case MonitorPhase::Measuring:
        return false;
    default:
        return true;
    }
}

bool MonitorSession::beginCapture()
{
    if (MonitorBusy())
        return false;
    setCapture(CaptureStep::Starting, false);
    return true;
}

void MonitorSession::streamStarted()
{
    if (m_capture == CaptureStep::Starting)
        setCapture(CaptureStep::Streaming, m_stopAsked);
}

bool MonitorSession::askStop()
{
    if (!captureHoldsLink() || m_stopAsked)
        return false;
    setCapture(m_capture, true);
    return true;
}

void MonitorSession::beginProcessing()
{
    if (captureHoldsLink())
        setCapture(CaptureStep::Processing, m_stopAsked);
}

void MonitorSession::endCapture()
{
    setCapture(CaptureStep::None, false);
}

void MonitorSession::setCapture(CaptureStep step, bool stopAsked)
{
    if (m_capture == step && m_stopAsked == stopAsked)
        return;
    m_capture = step;
    m_stopAsked = stopAsked;
    emit changed();
}

void MonitorSession::setFlag(bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    emit changed();
}

void MonitorSession::setChecking(bool checking)
{
    setFlag(m_checking, checking);
}

void MonitorSession::setMeasuring(bool measuring)
{
    setFlag(m_measuring, measuring);
}

void MonitorSession::setSimpleMonitorOpen(bool open)
{
    setFlag(m_simpleMonitorOpen, open);
}

void MonitorSession::setCheckResults(bool linkFailed, bool boardVerified, const QString &firmwareVersion)
{
    if (m_linkFailed == linkFailed && m_boardVerified == boardVerified && m_firmwareVersion == firmwareVersion)
        return;
    m_linkFailed = linkFailed;
    m_boardVerified = boardVerified;
    m_firmwareVersion = firmwareVersion;
    emit changed();
}

void MonitorSession::setHasCurrentData(bool has)
{
    setFlag(m_hasCurrentData, has);
}

void MonitorSession::replaceStream(const CaptureBuffer &capture)
{
    m_data.capture = capture;
    m_data.times.reset();
    // Whatever stream was stored is data to show and save.
    setHasCurrentData(true);
    emit dataChanged();
}

} // namespace ferrox
