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

MonitorSession::MonitorSession(QObject *parent) : QObject(parent)
{
    connect(&m_capture, &CapturePhase::changed, this, &MonitorSession::changed);
}

MonitorPhase MonitorSession::phase() const
{
    using enum CapturePhase::Step;
    const bool stopAsked = m_capture.stopAsked();
    switch (m_capture.step()) {
    case Preparing:
    case Starting:
        return stopAsked ? MonitorPhase::Stopping : MonitorPhase::Starting;
    case Streaming:
    case Ending:
        return stopAsked ? MonitorPhase::Stopping : MonitorPhase::Streaming;
    case Processing:
        return MonitorPhase::Processing;
    case Idle:
        break;
    }
    if (m_measuring)
        return MonitorPhase::Measuring;
    if (m_checking)
        return MonitorPhase::Checking;
    return m_simpleMonitorOpen ? MonitorPhase::SimpleMonitor : MonitorPhase::Idle;
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

void MonitorSession::setWaitingForLink(bool waiting)
{
    setFlag(m_waitingForLink, waiting);
}

void MonitorSession::setCheckResults(bool linkFailed, bool boardVerified, const QString &firmwareVersion,
                                     const QString &boardReply)
{
    if (m_linkFailed == linkFailed && m_boardVerified == boardVerified && m_firmwareVersion == firmwareVersion
        && m_boardReply == boardReply)
        return;
    m_linkFailed = linkFailed;
    m_boardVerified = boardVerified;
    m_firmwareVersion = firmwareVersion;
    m_boardReply = boardReply;
    emit changed();
}

void MonitorSession::setHasCurrentData(bool has)
{
    setFlag(m_hasCurrentData, has);
}

void MonitorSession::setCurrentData(const MonitorData &data)
{
    m_data = data;
    // Whatever stream was stored is data to show and save.
    setHasCurrentData(true);
    emit dataChanged();
}

} // namespace ferrox
