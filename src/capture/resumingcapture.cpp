#include "resumingcapture.h"

#include "link/linkowner.h"
#include "platform/serialport.h"

#include <QDateTime>

namespace ferrox {

namespace {

qint64 nowEpochMicros()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000;
}

} // namespace

ResumingCapture::ResumingCapture(LinkOwner &owner, SplitCaptureRequest request, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
    , m_request(std::move(request))
{
    if (!m_request.dataPath.isEmpty())
        m_output.emplace(m_request.dataPath, m_request.splitBytes, m_request.keepFiles);
    m_giveUp.setSingleShot(true);
    connect(&m_giveUp, &QTimer::timeout, this, [this] {
        // A check under way finishes first: a board that answers still counts.
        m_gaveUp = true;
        if (m_phase == Phase::Waiting)
            end(SplitCaptureResult::End::GaveUp);
    });
    connect(&m_watch, &DeviceWatch::lookAgain, this, &ResumingCapture::onLookAgain);
}

ResumingCapture::~ResumingCapture() = default;

void ResumingCapture::start()
{
    if (m_phase == Phase::Idle)
        attempt();
}

// Always from the event loop or start(), never from the last capture's own
// signal, so the last capture can go here.
void ResumingCapture::attempt()
{
    m_watch.stop();
    m_phase = Phase::Capturing;
    m_streaming = false;
    m_refused = false;
    m_capture = std::make_unique<ConsoleCapture>(m_owner);
    m_capture->setKeepsStream(false);
    m_capture->setSettingsCheck([this](const QString &firmware) {
        if (!m_firmware.isEmpty() && firmware != m_firmware)
            emit boardChanged(m_firmware, firmware);
        m_firmware = firmware;
        const QString refusal = m_request.settingsCheck ? m_request.settingsCheck(firmware) : QString();
        m_refused = !refusal.isEmpty();
        return refusal;
    });
    connect(m_capture.get(), &ConsoleCapture::logText, this, [this](const QString &text) {
        // A resumed stream's check and start are one resumed() event.
        if (!m_everStreamed || m_streaming)
            emit logText(text);
    });
    connect(m_capture.get(), &ConsoleCapture::streamStarted, this, &ResumingCapture::onStreamStarted);
    connect(m_capture.get(), &ConsoleCapture::stored, this, &ResumingCapture::onStored);
    connect(m_capture.get(), &ConsoleCapture::finished, this, &ResumingCapture::onCaptureFinished);
    m_capture->start(m_request.settings);
}

void ResumingCapture::onStreamStarted()
{
    m_giveUp.stop();
    m_gaveUp = false;
    m_lastReason.clear();
    m_streaming = true;
    ArrivalTimes start = m_capture->arrivalTimes();
    start.arrivals.clear();
    m_streamStart = start.startEpochMicros;
    const bool resuming = m_everStreamed;
    if (resuming)
        start.linkLostEpochMicros = m_lostAt;
    if (m_output)
        m_output->begin(start);
    m_everStreamed = true;
    if (resuming) {
        ++m_result.resumes;
        emit resumed(m_streamStart, m_output ? m_output->files().pieceName(m_output->files().written() + 1) : QString(),
                     m_result.resumes);
    }
    emit streamStarted();
}

void ResumingCapture::onStored(const QByteArray &bytes, qint64 micros)
{
    emit stored(bytes, m_streamStart + micros);
    if (!m_output)
        return;
    if (!m_output->feed(bytes, micros)) {
        m_writeFailed = true;
        m_capture->requestStop();
        return;
    }
    emit progress(m_output->monitoredBytes());
}

void ResumingCapture::onCaptureFinished(const ConsoleCaptureResult &result)
{
    using End = SplitCaptureResult::End;
    if (result.status == ConsoleCaptureResult::Status::LinkFailed) {
        if (m_refused)
            end(End::Refused, result.text);
        else if (m_stopRequested)
            end(End::Stopped);
        else if (!m_request.resume)
            end(End::LinkFailed, result.text);
        else if (m_gaveUp)
            end(End::GaveUp);
        else
            wait(result.text);
        return;
    }
    m_result.lastExit = result.ending.exit;
    // The program's own end of a stream may cut a byte in two; the board's never does.
    const bool finished = !m_output || m_output->finish(result.ending.exit != CaptureExit::EndCode);
    if (!finished || m_writeFailed)
        end(End::WriteFailed);
    else if (m_stopRequested)
        end(End::Stopped);
    else if (result.ending.exit == CaptureExit::PortLost && m_request.resume) {
        m_lostAt = nowEpochMicros();
        emit linkLost(*m_lostAt, result.ending.portProblem, m_output && m_output->lastByteCut());
        wait({});
    } else
        end(result.ending.exit == CaptureExit::PortLost ? End::LinkLost : End::StreamEnded);
}

void ResumingCapture::wait(const QString &reason)
{
    m_phase = Phase::Waiting;
    // The device is not held while the capture waits for it: a port in an
    // error state is closed, and another program may take the device.
    if (m_owner.isFree())
        m_owner.shutdown();
    if (!reason.isEmpty() && reason != m_lastReason) {
        m_lastReason = reason;
        emit waiting(reason);
    }
    if (m_request.resumeTimeoutMs > 0 && !m_giveUp.isActive())
        m_giveUp.start(m_request.resumeTimeoutMs);
    m_watch.watch(devicePath(), m_request.retryMs);
}

void ResumingCapture::onLookAgain()
{
    if (m_phase == Phase::Waiting && m_watch.isPresent())
        attempt();
}

void ResumingCapture::requestStop()
{
    if (m_stopRequested || m_phase == Phase::Ended)
        return;
    m_stopRequested = true;
    if (m_phase == Phase::Capturing)
        m_capture->requestStop();
    else if (m_phase == Phase::Waiting)
        end(SplitCaptureResult::End::Stopped);
}

void ResumingCapture::end(SplitCaptureResult::End how, const QString &text)
{
    m_phase = Phase::Ended;
    m_watch.stop();
    m_giveUp.stop();
    m_result.end = how;
    m_result.text = text;
    // From the event loop, as ConsoleCapture ends: the caller's handler has returned.
    QTimer::singleShot(0, this, [this] { emit finished(m_result); });
}

QString ResumingCapture::devicePath() const
{
    const QString path = m_owner.port().devicePath();
    if (!path.isEmpty())
        return path;
    return m_request.settings.port.startsWith(u'/') ? m_request.settings.port : QString();
}

} // namespace ferrox
