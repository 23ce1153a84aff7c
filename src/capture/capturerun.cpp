#include "capturerun.h"

#include "link/texts.h"

namespace ferrox {

CaptureRun::CaptureRun(LinkOwner &owner, CapturePhase &phase, QObject *parent)
    : QObject(parent), m_link(owner), m_receiver(m_recorder), m_phase(phase)
{
    m_endCodeWait.setSingleShot(true);
    // A coarse timer may run up to 5 % long; the wait is a promise.
    m_endCodeWait.setTimerType(Qt::PreciseTimer);
    m_endCodeWait.setInterval(EndCodeWaitMs);
    connect(&m_endCodeWait, &QTimer::timeout, this, &CaptureRun::onEndCodeOverdue);
    connect(&m_receiver, &CaptureReceiver::stored, this, [this](const QByteArray &bytes, qint32 count) {
        // A stream that is not kept is timed by whoever takes it over.
        if (m_keepsStream)
            m_arrivals.note(m_streamBytes);
        m_streamBytes += bytes.size();
        emit stored(bytes, count);
    });
    connect(&m_receiver, &CaptureReceiver::ended, this, &CaptureRun::onEnded);
    connect(&m_receiver, &CaptureReceiver::portError, this, &CaptureRun::onPortError);
}

void CaptureRun::start(const CaptureStartRequest &request)
{
    if (!m_phase.beginStart())
        return;
    m_portError = 0;
    m_quietBoardAtEnd = true;
    m_link.start(request, [this](const CaptureStartOutcome &outcome) { onStarted(outcome); });
}

void CaptureRun::onStarted(const CaptureStartOutcome &outcome)
{
    if (outcome.status != CaptureStartOutcome::Status::Streaming) {
        // The owner lets go of the link once this callback has returned.
        QTimer::singleShot(0, this, [this, outcome] {
            m_phase.finish();
            emit startFailed(outcome);
        });
        return;
    }
    m_phase.setStreaming();
    m_arrivals.start();
    m_streamBytes = 0;
    m_recorder.setKeepsStream(m_keepsStream);
    emit streamStarted(outcome.reply);
    m_receiver.start(*m_link.port());
    sendUserStop();
}

void CaptureRun::requestStop()
{
    if (m_phase.askStop())
        sendUserStop();
}

void CaptureRun::sendUserStop()
{
    // Before the stream runs the stop waits for it; once over, the end
    // script quiets the board.
    if (!m_phase.stopAsked() || m_phase.step() != CapturePhase::Step::Streaming)
        return;
    m_link.stop(CaptureLink::StopReason::User, [this](bool written) { emit stopSent(StopKind::User, written); });
    if (!m_endCodeWait.isActive())
        m_endCodeWait.start();
}

void CaptureRun::stopBoard()
{
    m_link.stop(CaptureLink::StopReason::User, [](bool) {});
}

void CaptureRun::onEnded(CaptureRecorder::Exit exit)
{
    if (exit != CaptureRecorder::Exit::Overflow && exit != CaptureRecorder::Exit::DataRate) {
        endStream(exit);
        return;
    }
    // The PC cannot take more: the board is stopped before anything else.
    m_phase.endStream();
    m_link.stop(CaptureLink::StopReason::Forced, [this, exit](bool written) {
        emit stopSent(StopKind::Forced, written);
        endStream(exit);
    });
}

void CaptureRun::onPortError(int errorCode)
{
    // Whatever arrived stays; the board cannot be reached any more.
    m_portError = errorCode;
    m_receiver.stop();
    m_recorder.endStream();
    endStream(CaptureRecorder::Exit::Unfinished);
}

void CaptureRun::onEndCodeOverdue()
{
    if (m_phase.step() != CapturePhase::Step::Streaming)
        return;
    m_receiver.stop();
    m_recorder.endStream();
    endStream(CaptureRecorder::Exit::Unfinished);
}

CaptureEnding CaptureRun::ending(CaptureRecorder::Exit exit, const QString &portName) const
{
    CaptureEnding ending;
    ending.lastByteCut = m_recorder.lastByteCut();
    switch (exit) {
    case CaptureRecorder::Exit::Running:
    case CaptureRecorder::Exit::EndCode:
        ending.exit = CaptureExit::EndCode;
        break;
    case CaptureRecorder::Exit::Overflow:
        ending.exit = CaptureExit::Overflow;
        break;
    case CaptureRecorder::Exit::DataRate:
        ending.exit = CaptureExit::DataRate;
        break;
    case CaptureRecorder::Exit::Unfinished:
        ending.exit = m_portError == 0 ? CaptureExit::NoEndCode : CaptureExit::PortLost;
        if (m_portError != 0)
            ending.portProblem = linktext::portUnusableMessage(portName, m_portError).trimmed();
        break;
    }
    return ending;
}

void CaptureRun::endStream(CaptureRecorder::Exit exit)
{
    m_endCodeWait.stop();
    m_phase.endStream();
    emit streamEnded(exit);
    // A port that failed reaches no board: a stop written to it is never
    // sent, and the driver would be asked again and again until the drain
    // gives up.
    m_link.runEndScript(m_quietBoardAtEnd && m_portError == 0, [this] {
        m_link.release();
        m_phase.beginProcessing();
        emit finished();
    });
}

} // namespace ferrox
