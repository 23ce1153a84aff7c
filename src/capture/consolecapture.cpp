#include "consolecapture.h"

#include "texts.h"

#include "link/consolecheck.h"
#include "link/exchanges.h"
#include "link/texts.h"

#include <QDateTime>

namespace ferrox {

namespace {

// The part of the version reply the capture log shows: bytes 0..20, each
// as the character of its code.
constexpr qsizetype shownReplyBytes = VersionReplyLength - 1;

QString line(const QString &text)
{
    return text + u'\n';
}

} // namespace

ConsoleCapture::ConsoleCapture(LinkOwner &owner, QObject *parent)
    : QObject(parent), m_owner(owner), m_receiver(owner.port(), m_recorder)
{
    m_endCodeWait.setSingleShot(true);
    // A coarse timer may run up to 5 % long; the wait is a promise.
    m_endCodeWait.setTimerType(Qt::PreciseTimer);
    m_endCodeWait.setInterval(EndCodeWaitMs);
    connect(&m_endCodeWait, &QTimer::timeout, this, &ConsoleCapture::onEndCodeOverdue);
    connect(&m_receiver, &CaptureReceiver::ended, this, &ConsoleCapture::onEnded);
    connect(&m_receiver, &CaptureReceiver::portError, this, &ConsoleCapture::onPortError);
}

void ConsoleCapture::start(const ConsoleCaptureRequest &request)
{
    m_request = request;
    m_result = {};
    m_streaming = false;
    m_finished = false;
    runConsoleCheck(m_owner, request.check, request.portName, [this](const ConsoleCheckResult &check) {
        onChecked(check.verified, check.text, check.firmwareVersion);
    });
}

void ConsoleCapture::onChecked(bool verified, const QString &text, const QString &firmwareVersion)
{
    m_owner.release(LinkUse::Check);
    if (!verified) {
        fail(text);
        return;
    }
    emit logText(text);
    m_result.firmwareVersion = firmwareVersion;
    CaptureStartRequest start;
    start.firmwareVersion = firmwareVersion;
    start.monitorSpeedText = m_request.monitorSpeedText;
    start.directionText = m_request.directionText;
    start.dataWidth = m_request.dataWidth;
    m_owner.startCapture(start, [this](const CaptureStartOutcome &outcome) { onStarted(outcome); });
}

void ConsoleCapture::onStarted(const CaptureStartOutcome &outcome)
{
    switch (outcome.status) {
    case CaptureStartOutcome::Status::PortFailed:
        fail(linktext::portUnusableMessage(m_request.portName, outcome.errorCode).trimmed() + u'\n');
        return;
    case CaptureStartOutcome::Status::UnsupportedSpeed:
    case CaptureStartOutcome::Status::UnsupportedDirection:
        // The exit of a start the board cannot be set up for.
        fail(line(CaptureTexts::unsupportedSpeed()));
        return;
    case CaptureStartOutcome::Status::NoReply:
        fail(line(CaptureTexts::communicationFailed()));
        return;
    case CaptureStartOutcome::Status::Streaming:
        break;
    }
    emit logText(line(QString::fromLatin1(outcome.reply.first(qMin(shownReplyBytes, outcome.reply.size())))
                      + CaptureTexts::replySuffix())
                 + CaptureTexts::streamStarted());
    m_streaming = true;
    emit streamStarted();
    m_receiver.start();
    if (m_stopRequested && m_recorder.isRunning())
        sendUserStop();
}

void ConsoleCapture::requestStop()
{
    if (m_stopRequested || m_finished)
        return;
    m_stopRequested = true;
    if (m_streaming && m_recorder.isRunning())
        sendUserStop();
}

void ConsoleCapture::sendUserStop()
{
    m_owner.stopCapture(LinkOwner::StopReason::User, [this](bool written) {
        if (!written)
            emit logText(line(CaptureTexts::notStarted()));
    });
    m_endCodeWait.start();
}

void ConsoleCapture::onEnded(CaptureRecorder::Exit exit)
{
    switch (exit) {
    case CaptureRecorder::Exit::EndCode:
        emit logText(line(CaptureTexts::streamEnded()));
        break;
    case CaptureRecorder::Exit::Overflow:
        m_owner.stopCapture(LinkOwner::StopReason::Forced, [](bool) {});
        emit logText(line(CaptureTexts::bufferOverflow()) + line(CaptureTexts::forcedStop()));
        break;
    case CaptureRecorder::Exit::DataRate:
        m_owner.stopCapture(LinkOwner::StopReason::Forced, [](bool) {});
        emit logText(line(CaptureTexts::dataRateExceeded()));
        break;
    case CaptureRecorder::Exit::Running:
    case CaptureRecorder::Exit::Unfinished:
        break;
    }
    finishCapture();
}

void ConsoleCapture::onPortError(int errorCode)
{
    // Whatever arrived stays; the board cannot be reached any more.
    m_result.portError = errorCode;
    m_receiver.stop();
    m_recorder.endStream();
    emit logText(linktext::portUnusableMessage(m_request.portName, errorCode).trimmed() + u'\n');
    finishCapture();
}

void ConsoleCapture::onEndCodeOverdue()
{
    if (!m_receiver.isActive())
        return;
    m_receiver.stop();
    m_recorder.endStream();
    emit logText(line(CaptureTexts::forcedStop()));
    finishCapture();
}

void ConsoleCapture::finishCapture()
{
    m_endCodeWait.stop();
    m_streaming = false;
    m_finished = true;
    m_result.status = ConsoleCaptureResult::Status::Captured;
    m_result.exit = m_recorder.exit();
    m_result.data.capture = m_recorder.capture();
    m_result.data.CaptureTimestamp = QDateTime::currentDateTime().toString(CaptureTexts::timestampFormat());
    // As after every capture: what still waits is dropped and the board is
    // told to stop, so it is left quiet whichever way the stream ended.
    m_owner.runScript(simpleMonitorStopScript(), [this](const LinkScriptResult &) {
        m_owner.endCapture();
        emit finished(m_result);
    });
}

void ConsoleCapture::fail(const QString &text)
{
    m_finished = true;
    m_result.status = ConsoleCaptureResult::Status::LinkFailed;
    m_result.text = text;
    // A failed start lets go of the link once its callback has returned.
    QTimer::singleShot(0, this, [this] { emit finished(m_result); });
}

} // namespace ferrox
