#include "capturelink.h"

#include "texts.h"

#include "link/linkscript.h"
#include "link/protocol.h"

#include <QPointer>

namespace ferrox {

namespace {

using namespace step;

// Capture start, first part: the port is made ready (opened if closed;
// failing to open it is a port failure).
LinkScript captureReadyScript()
{
    return {discard(), threshold(0), critical(openIfClosed())};
}

// Capture start, the rest: speed, the data width for firmware that takes
// it, the version reply (22 bytes within a second), the direction; the
// board then streams.
LinkScript captureConfigureScript(std::uint8_t speedCommand, std::optional<std::uint8_t> modeCommand,
                                  std::uint8_t directionCommand)
{
    LinkScript script{write(speedCommand), pause(SpeedPauseMs)};
    if (modeCommand)
        script << discard() << write(*modeCommand);
    script << threshold(0) << discard() << discard()
           << write(CMD_VERSION) << await(VersionReplyLength, ReplyTimeoutMs) << read()
           << threshold(0) << discard() << write(directionCommand);
    return script;
}

// Capture stop. A stop the user asks for leaves the stream bytes waiting
// at the port to the capture; the capture's own forced stops (overflow,
// data rate) discard them first. A failing write is a port failure.
LinkScript captureStopScript(bool discardFirst)
{
    LinkScript script;
    if (discardFirst)
        script << discard();
    script << critical(write(CMD_STOP));
    return script;
}

// The end of a capture: what still waits is dropped; unless the stream is
// handed on to the simple monitor, the board is told to stop and the
// command is let out at the link speed before anyone may close the port.
LinkScript captureEndScript(bool quietBoard)
{
    LinkScript script{discard()};
    if (quietBoard)
        script << threshold(0) << write(CMD_STOP) << drain(StopDrainLimitMs);
    return script;
}

// A board that may stream when the program closes is told to stop.
const LinkRequest CaptureLinkRequest{"capture", false, false, false, QByteArray(1, char(CMD_STOP))};

} // namespace

std::optional<std::uint8_t> speedCommand(const QString &firmwareVersion, const MonitorSettings &settings)
{
    if (!settings.monitoredSpeed)
        return std::nullopt;
    return CMD_SPEED(firmwareVersion, *settings.monitoredSpeed);
}

QString unsupportedSettingLine(CaptureStartOutcome::Status status)
{
    return status == CaptureStartOutcome::Status::UnsupportedDirection ? CaptureTexts::unsupportedDirection()
                                                                       : CaptureTexts::unsupportedSpeed();
}

std::optional<std::uint8_t> directionCommand(const MonitorSettings &settings)
{
    if (!settings.direction)
        return std::nullopt;
    return CMD_DIRECTION(*settings.direction);
}

CaptureLink::CaptureLink(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner) {}

void CaptureLink::start(const CaptureStartRequest &request, std::function<void(const CaptureStartOutcome &)> done)
{
    m_owner.request(CaptureLinkRequest, [self = QPointer<CaptureLink>(this), request, done](const LinkLease &lease) {
        if (!self) {
            lease.end();
            return;
        }
        self->m_lease = lease;
        lease.runScript(captureReadyScript(), [self, request, done](const LinkScriptResult &result) {
            if (!self)
                return;
            if (result.status != LinkScriptResult::Status::Completed) {
                CaptureStartOutcome outcome;
                outcome.status = CaptureStartOutcome::Status::PortFailed;
                outcome.errorCode = result.errorCode;
                self->finishStart(outcome, done);
                return;
            }
            self->configure(request, done);
        });
    });
}

void CaptureLink::configure(const CaptureStartRequest &request, std::function<void(const CaptureStartOutcome &)> done)
{
    CaptureStartOutcome outcome;
    const std::optional<std::uint8_t> speed = speedCommand(request.firmwareVersion, request.settings);
    const std::optional<std::uint8_t> direction = directionCommand(request.settings);
    if (!speed || !direction) {
        outcome.status = speed ? CaptureStartOutcome::Status::UnsupportedDirection
                               : CaptureStartOutcome::Status::UnsupportedSpeed;
        finishStart(outcome, done);
        return;
    }
    std::optional<std::uint8_t> mode;
    if (takesDataWidth(request.firmwareVersion))
        mode = CMD_MODE(request.settings.dataWidth);
    m_lease.runScript(captureConfigureScript(*speed, mode, *direction),
                      [self = QPointer<CaptureLink>(this), done](const LinkScriptResult &result) {
                          CaptureStartOutcome outcome;
                          if (result.status == LinkScriptResult::Status::Completed) {
                              outcome.status = CaptureStartOutcome::Status::Streaming;
                              outcome.reply = result.reply;
                          }
                          if (self)
                              self->finishStart(outcome, done);
                      });
}

void CaptureLink::finishStart(const CaptureStartOutcome &outcome,
                              const std::function<void(const CaptureStartOutcome &)> &done)
{
    done(outcome);
    if (outcome.status != CaptureStartOutcome::Status::Streaming)
        m_lease.end();
}

void CaptureLink::stop(StopReason reason, std::function<void(bool written)> done)
{
    const bool discardFirst = reason == StopReason::Forced;
    if (m_lease.isHeld()) {
        sendStop(discardFirst, std::move(done));
        return;
    }
    m_owner.request(CaptureLinkRequest, [discardFirst, done](const LinkLease &lease) {
        lease.runScript(captureStopScript(discardFirst), [lease, done](const LinkScriptResult &result) {
            done(result.status == LinkScriptResult::Status::Completed);
            lease.end();
        });
    });
}

void CaptureLink::sendStop(bool discardFirst, std::function<void(bool written)> done)
{
    m_lease.runScript(captureStopScript(discardFirst), [done](const LinkScriptResult &result) {
        done(result.status == LinkScriptResult::Status::Completed);
    });
}

void CaptureLink::runEndScript(bool quietBoard, std::function<void()> done)
{
    m_lease.runScript(captureEndScript(quietBoard), [done](const LinkScriptResult &) { done(); });
}

void CaptureLink::release()
{
    m_lease.end();
}

} // namespace ferrox
