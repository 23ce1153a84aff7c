#include "linkscript.h"

#include "platform/serialport.h"
#include "protocol.h"

namespace ferrox {

namespace {
// How often a drain looks at the output queue: a command byte takes
// under a millisecond at the link speeds.
constexpr int DrainPollMs = 2;
} // namespace

namespace step {

namespace {
LinkStep make(LinkStep::Kind kind, int value = 0)
{
    LinkStep s;
    s.kind = kind;
    s.value = value;
    return s;
}
} // namespace

LinkStep close() { return make(LinkStep::Kind::Close); }
LinkStep setPort(int portNumber) { return make(LinkStep::Kind::SetPort, portNumber); }
LinkStep open() { return make(LinkStep::Kind::Open); }
LinkStep openIfClosed() { return make(LinkStep::Kind::OpenIfClosed); }
LinkStep settings(const QString &settingsText)
{
    LinkStep s = make(LinkStep::Kind::Settings);
    s.text = settingsText;
    return s;
}
LinkStep threshold(int count) { return make(LinkStep::Kind::Threshold, count); }
LinkStep discard() { return make(LinkStep::Kind::Discard); }
LinkStep rts(bool on) { return make(LinkStep::Kind::Rts, on ? 1 : 0); }
LinkStep dtr(bool on) { return make(LinkStep::Kind::Dtr, on ? 1 : 0); }
LinkStep sampleLines() { return make(LinkStep::Kind::SampleLines); }
LinkStep write(std::uint8_t command) { return make(LinkStep::Kind::Write, command); }
LinkStep pause(int milliseconds) { return make(LinkStep::Kind::Pause, milliseconds); }
LinkStep await(int count, int timeoutMs)
{
    LinkStep s = make(LinkStep::Kind::Await, count);
    s.timeoutMs = timeoutMs;
    return s;
}
LinkStep read() { return make(LinkStep::Kind::Read); }
LinkStep drain(int timeoutMs)
{
    LinkStep s = make(LinkStep::Kind::Drain);
    s.timeoutMs = timeoutMs;
    return s;
}
LinkStep critical(LinkStep s)
{
    s.critical = true;
    return s;
}

} // namespace step

LinkScriptRunner::LinkScriptRunner(SerialPort &port, LinkScript script, QObject *parent)
    : QObject(parent), m_port(port), m_script(std::move(script))
{
    m_timer.setSingleShot(true);
    // Coarse timers may fire a little early; a limit of one second must
    // mean more than one second.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LinkScriptRunner::onTimer);
    connect(&m_port, &SerialPort::bytesArrived, this, &LinkScriptRunner::onArrival);
    connect(&m_port, &SerialPort::lineError, this, &LinkScriptRunner::onLineError);
}

void LinkScriptRunner::start(Done done)
{
    m_done = std::move(done);
    m_running = true;
    m_next = 0;
    m_result = {};
    advance();
}

void LinkScriptRunner::cancel()
{
    if (!m_running)
        return;
    if (m_awaiting)
        finish(LinkScriptResult::Status::Cancelled);
    else
        m_cancelRequested = true;
}

void LinkScriptRunner::abandon()
{
    m_done = nullptr;
    m_running = false;
    m_awaiting = false;
    m_pausing = false;
    m_draining = false;
    m_timer.stop();
}

bool LinkScriptRunner::awaitSatisfied() const
{
    const qint16 waiting = m_port.bytesWaiting();
    return waiting < 0 || waiting >= m_script.at(m_next - 1).value;
}

void LinkScriptRunner::advance()
{
    using Kind = LinkStep::Kind;
    while (m_running && m_next < m_script.size()) {
        const LinkStep &s = m_script.at(m_next++);
        bool ok = true;
        switch (s.kind) {
        case Kind::Close:
            if (m_port.isOpen())
                m_port.close();
            break;
        case Kind::SetPort:
            ok = isValidPortNumber(s.value);
            if (ok)
                m_port.setPortNumber(s.value);
            break;
        case Kind::Open:
            ok = m_port.open();
            break;
        case Kind::OpenIfClosed:
            ok = m_port.isOpen() || m_port.open();
            break;
        case Kind::Settings:
            ok = m_port.setSettings(s.text);
            break;
        case Kind::Threshold:
            m_port.setReceiveThreshold(s.value);
            break;
        case Kind::Discard:
            m_port.discardInput();
            break;
        case Kind::Rts:
            m_port.setRts(s.value != 0);
            break;
        case Kind::Dtr:
            m_port.setDtr(s.value != 0);
            break;
        case Kind::SampleLines:
            m_result.cts = m_port.cts();
            m_result.dsr = m_port.dsr();
            emit linesSampled(m_result.cts, m_result.dsr);
            break;
        case Kind::Write:
            ok = m_port.write(QByteArray(1, static_cast<char>(s.value)));
            if (ok)
                emit commandSent(static_cast<std::uint8_t>(s.value));
            break;
        case Kind::Pause:
            m_pausing = true;
            m_timer.start(s.value);
            return;
        case Kind::Await:
            if (m_cancelRequested) {
                finish(LinkScriptResult::Status::Cancelled);
                return;
            }
            if (awaitSatisfied())
                break;
            m_awaiting = true;
            if (s.timeoutMs >= 0)
                m_timer.start(s.timeoutMs);
            emit waiting(m_port.bytesWaiting());
            return;
        case Kind::Read:
            m_result.reply = m_port.readAll();
            break;
        case Kind::Drain:
            if (!m_port.isOpen() || m_port.bytesToSend() <= 0)
                break;
            m_draining = true;
            m_drainDeadline.setRemainingTime(s.timeoutMs);
            m_timer.start(DrainPollMs);
            return;
        }
        if (!ok && s.critical) {
            const int error = s.kind == Kind::SetPort ? InvalidPortError : m_port.lastError();
            finish(LinkScriptResult::Status::PortFailed, error);
            return;
        }
    }
    if (m_running)
        finish(LinkScriptResult::Status::Completed);
}

void LinkScriptRunner::onArrival()
{
    if (!m_awaiting)
        return;
    if (!awaitSatisfied()) {
        emit waiting(m_port.bytesWaiting());
        return;
    }
    m_awaiting = false;
    m_timer.stop();
    advance();
}

void LinkScriptRunner::onTimer()
{
    if (m_pausing) {
        m_pausing = false;
        advance();
        return;
    }
    if (m_draining) {
        if (m_port.isOpen() && m_port.bytesToSend() > 0 && !m_drainDeadline.hasExpired()) {
            m_timer.start(DrainPollMs);
            return;
        }
        m_draining = false;
        advance();
        return;
    }
    if (!m_awaiting)
        return;
    finish(LinkScriptResult::Status::TimedOut);
}

void LinkScriptRunner::onLineError(int errorCode)
{
    if (m_awaiting && m_script.at(m_next - 1).critical)
        finish(LinkScriptResult::Status::PortFailed, errorCode);
}

void LinkScriptRunner::finish(LinkScriptResult::Status status, int errorCode)
{
    m_running = false;
    m_awaiting = false;
    m_pausing = false;
    m_draining = false;
    m_timer.stop();
    m_result.status = status;
    m_result.errorCode = errorCode;
    if (m_done) {
        // The callback may start the next exchange, even on this runner.
        Done done = std::exchange(m_done, nullptr);
        const LinkScriptResult result = m_result;
        done(result);
    }
}

} // namespace ferrox
