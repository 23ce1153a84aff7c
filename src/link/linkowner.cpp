#include "linkowner.h"

#include "platform/serialport.h"

#include <QTimer>

#include <algorithm>

namespace ferrox {

namespace {

// The commands for the chosen speed and direction; none for a choice that
// is not valid or that the firmware's table lacks.
std::optional<std::uint8_t> speedCommand(const QString &firmwareVersion, const MonitorSettings &settings)
{
    if (!settings.monitoredSpeed)
        return std::nullopt;
    return CMD_SPEED(firmwareVersion, *settings.monitoredSpeed);
}

std::optional<std::uint8_t> directionCommand(const MonitorSettings &settings)
{
    if (!settings.direction)
        return std::nullopt;
    return CMD_DIRECTION(*settings.direction);
}

} // namespace

LinkOwner::LinkOwner(SerialPort &port, QObject *parent) : QObject(parent), m_port(port) {}

LinkOwner::~LinkOwner()
{
    if (m_runner)
        m_runner->abandon();
}

bool LinkOwner::checkPending() const
{
    const auto isCheck = [](LinkUse use) { return use == LinkUse::Check || use == LinkUse::PortChange; };
    if (isCheck(m_holder))
        return true;
    return std::any_of(m_pending.begin(), m_pending.end(),
                       [&](const Pending &p) { return isCheck(p.use); });
}

bool LinkOwner::canRunNow(LinkUse use) const
{
    if (m_runner && m_runner->isRunning())
        return false;
    return m_holder == LinkUse::None || (m_holder == LinkUse::SimpleMonitor && use != LinkUse::Sample);
}

bool LinkOwner::request(LinkUse use, Job job)
{
    if (use == LinkUse::Sample && (!m_pending.empty() || !canRunNow(use)))
        return false;
    if (use == LinkUse::Check && checkPending())
        return false;
    if (m_pending.empty() && canRunNow(use))
        grant(use, job);
    else
        m_pending.push_back({use, std::move(job)});
    return true;
}

void LinkOwner::grant(LinkUse use, const Job &job)
{
    m_holder = use;
    job();
}

void LinkOwner::release(LinkUse use)
{
    if (m_holder != use)
        return;
    m_holder = LinkUse::None;
    if (m_pending.empty() || m_drainScheduled)
        return;
    // The next request starts once the releasing code has finished its
    // own sequence.
    m_drainScheduled = true;
    QTimer::singleShot(0, this, &LinkOwner::drain);
}

void LinkOwner::drain()
{
    m_drainScheduled = false;
    while (!m_pending.empty() && canRunNow(m_pending.front().use)) {
        Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        grant(next.use, next.job);
    }
}

LinkScriptRunner *LinkOwner::prepare(LinkScript script)
{
    if (m_runner)
        m_runner->deleteLater();
    m_runner = new LinkScriptRunner(m_port, std::move(script), this);
    return m_runner;
}

void LinkOwner::runScript(LinkScript script, LinkScriptRunner::Done done)
{
    prepare(std::move(script))->start(std::move(done));
}

void LinkOwner::checkLink(const CheckRequest &request, CheckCallbacks callbacks)
{
    LinkScriptRunner *runner = prepare(connectionCheckScript(request));
    if (callbacks.linesSampled)
        connect(runner, &LinkScriptRunner::linesSampled, this, callbacks.linesSampled);
    if (callbacks.querySent)
        connect(runner, &LinkScriptRunner::commandSent, this, [sent = callbacks.querySent](std::uint8_t) { sent(); });
    runner->start([done = callbacks.done](const LinkScriptResult &result) {
        CheckOutcome outcome;
        switch (result.status) {
        case LinkScriptResult::Status::PortFailed:
            outcome.status = CheckOutcome::Status::PortFailed;
            outcome.errorCode = result.errorCode;
            break;
        case LinkScriptResult::Status::TimedOut:
        case LinkScriptResult::Status::Cancelled:
            outcome.status = CheckOutcome::Status::NoAnswer;
            break;
        case LinkScriptResult::Status::Completed:
            outcome.reply = result.reply;
            switch (assessVersionReply(result.reply)) {
            case VersionVerdict::TooShort:
                outcome.status = CheckOutcome::Status::NoAnswer;
                break;
            case VersionVerdict::ForeignBoard:
                outcome.status = CheckOutcome::Status::ForeignBoard;
                break;
            case VersionVerdict::UnsupportedFirmware:
                outcome.status = CheckOutcome::Status::UnsupportedFirmware;
                break;
            case VersionVerdict::Verified:
                outcome.status = CheckOutcome::Status::Verified;
                break;
            }
            break;
        }
        done(outcome);
    });
}

bool LinkOwner::sampleSignals(std::function<void(const SampleOutcome &)> done)
{
    return request(LinkUse::Sample, [this, done] {
        runScript(signalSampleScript(), [this, done](const LinkScriptResult &result) {
            SampleOutcome outcome;
            if (result.status == LinkScriptResult::Status::PortFailed) {
                outcome.status = SampleOutcome::Status::PortFailed;
                outcome.errorCode = result.errorCode;
            } else if (result.status == LinkScriptResult::Status::Completed) {
                outcome.status = SampleOutcome::Status::Sampled;
                outcome.stateByte = static_cast<std::uint8_t>(result.reply.at(0));
            }
            done(outcome);
            release(LinkUse::Sample);
        });
    });
}

void LinkOwner::startCapture(const CaptureStartRequest &request,
                             std::function<void(const CaptureStartOutcome &)> done)
{
    this->request(LinkUse::Capture, [this, request, done] {
        // Only now: a start that waits its turn must not make the running
        // capture's stop wait for it.
        m_captureStreaming = false;
        runScript(captureReadyScript(), [this, request, done](const LinkScriptResult &result) {
            if (result.status != LinkScriptResult::Status::Completed) {
                CaptureStartOutcome outcome;
                outcome.status = CaptureStartOutcome::Status::PortFailed;
                outcome.errorCode = result.errorCode;
                finishCaptureStart(outcome, done);
                return;
            }
            configureCapture(request, done);
        });
    });
}

void LinkOwner::configureCapture(const CaptureStartRequest &request,
                                 std::function<void(const CaptureStartOutcome &)> done)
{
    CaptureStartOutcome outcome;
    const std::optional<std::uint8_t> speed = speedCommand(request.firmwareVersion, request.settings);
    const std::optional<std::uint8_t> direction = directionCommand(request.settings);
    if (!speed || !direction) {
        outcome.status = speed ? CaptureStartOutcome::Status::UnsupportedDirection
                               : CaptureStartOutcome::Status::UnsupportedSpeed;
        finishCaptureStart(outcome, done);
        return;
    }
    std::optional<std::uint8_t> mode;
    if (takesDataWidth(request.firmwareVersion))
        mode = CMD_MODE(request.settings.dataWidth);
    runScript(captureConfigureScript(*speed, mode, *direction),
              [this, done](const LinkScriptResult &result) {
                  CaptureStartOutcome outcome;
                  if (result.status == LinkScriptResult::Status::Completed) {
                      outcome.status = CaptureStartOutcome::Status::Streaming;
                      outcome.reply = result.reply;
                  }
                  finishCaptureStart(outcome, done);
              });
}

void LinkOwner::finishCaptureStart(const CaptureStartOutcome &outcome,
                                   const std::function<void(const CaptureStartOutcome &)> &done)
{
    m_captureStreaming = outcome.status == CaptureStartOutcome::Status::Streaming;
    done(outcome);
    if (m_deferredStop)
        sendCaptureStop(m_deferredStopDiscards, std::exchange(m_deferredStop, nullptr));
    if (!m_captureStreaming)
        release(LinkUse::Capture);
}

void LinkOwner::stopCapture(StopReason reason, std::function<void(bool written)> done)
{
    const bool discardFirst = reason == StopReason::Forced;
    if (m_holder == LinkUse::Capture && m_captureStreaming) {
        sendCaptureStop(discardFirst, std::move(done));
        return;
    }
    const bool starting = m_holder == LinkUse::Capture
        || std::any_of(m_pending.begin(), m_pending.end(),
                       [](const Pending &p) { return p.use == LinkUse::Capture; });
    if (starting) {
        if (m_deferredStop)
            done = [earlier = std::move(m_deferredStop), later = std::move(done)](bool written) {
                earlier(written);
                later(written);
            };
        m_deferredStop = std::move(done);
        m_deferredStopDiscards = discardFirst;
        return;
    }
    request(LinkUse::Capture, [this, discardFirst, done] {
        sendCaptureStop(discardFirst, [this, done](bool written) {
            done(written);
            release(LinkUse::Capture);
        });
    });
}

void LinkOwner::sendCaptureStop(bool discardFirst, std::function<void(bool written)> done)
{
    runScript(captureStopScript(discardFirst), [done](const LinkScriptResult &result) {
        done(result.status == LinkScriptResult::Status::Completed);
    });
}

void LinkOwner::endCapture()
{
    m_captureStreaming = false;
    release(LinkUse::Capture);
}

void LinkOwner::startSimpleMonitor(const SimpleMonitorRequest &request)
{
    this->request(LinkUse::SimpleMonitor, [this, request] {
        runScript(simpleMonitorStartScript(speedCommand(request.firmwareVersion, request.settings),
                                           directionCommand(request.settings)),
                  [this](const LinkScriptResult &) {
                      // The stream keeps the link, but anything else may take it.
                      if (!m_pending.empty() && !m_drainScheduled) {
                          m_drainScheduled = true;
                          QTimer::singleShot(0, this, &LinkOwner::drain);
                      }
                  });
    });
}

void LinkOwner::stopSimpleMonitor(std::function<void()> stopped)
{
    request(LinkUse::SimpleMonitor, [this, stopped] {
        runScript(simpleMonitorStopScript(), [this, stopped](const LinkScriptResult &) {
            release(LinkUse::SimpleMonitor);
            if (stopped)
                stopped();
        });
    });
}

void LinkOwner::startMeasurement(std::function<void(qint16 waiting)> progress,
                                 std::function<void(const MeasurementOutcome &)> done)
{
    request(LinkUse::Measurement, [this, progress, done] {
        LinkScriptRunner *runner = prepare(measurementScript());
        if (progress)
            connect(runner, &LinkScriptRunner::waiting, this, progress);
        // A stop asked for while this request waited its turn.
        if (std::exchange(m_measurementStopRequested, false))
            runner->cancel();
        runner->start([this, done](const LinkScriptResult &result) {
            // The board is stopped before done, so a done that closes the
            // link finds nothing left to stop.
            if (result.status == LinkScriptResult::Status::Completed) {
                release(LinkUse::Measurement);
                done({MeasurementOutcome::Status::Measured, result.reply});
                return;
            }
            runScript(measurementStopScript(), [this, done](const LinkScriptResult &) {
                release(LinkUse::Measurement);
                done({MeasurementOutcome::Status::Stopped, {}});
            });
        });
    });
}

void LinkOwner::stopMeasurement()
{
    if (m_holder == LinkUse::Measurement && m_runner) {
        m_runner->cancel();
        return;
    }
    m_measurementStopRequested = std::any_of(m_pending.begin(), m_pending.end(),
                                             [](const Pending &p) { return p.use == LinkUse::Measurement; });
}

void LinkOwner::shutdown()
{
    m_pending.clear();
    m_deferredStop = nullptr;
    if (m_runner)
        m_runner->abandon();
    const bool mayStream = m_holder == LinkUse::Capture || m_holder == LinkUse::SimpleMonitor
        || m_holder == LinkUse::Measurement;
    if (mayStream && m_port.isOpen())
        m_port.write(QByteArray(1, static_cast<char>(CMD_STOP)));
    if (m_port.isOpen())
        m_port.close();
    m_holder = LinkUse::None;
    m_captureStreaming = false;
}

} // namespace ferrox
