#include "consolecapture.h"

#include "texts.h"

#include "link/consolecheck.h"
#include "link/exchanges.h"
#include "link/texts.h"

#include <QDateTime>
#include <QTimer>

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
    : QObject(parent), m_owner(owner), m_run(owner, m_phase)
{
    connect(&m_run, &CaptureRun::startFailed, this, &ConsoleCapture::onStartFailed);
    connect(&m_run, &CaptureRun::streamStarted, this, &ConsoleCapture::onStreamStarted);
    connect(&m_run, &CaptureRun::stored, this, [this](const QByteArray &bytes, qint32 count) {
        emit stored(bytes, m_run.elapsedMicros());
        emit progress(count);
    });
    connect(&m_run, &CaptureRun::stopSent, this, &ConsoleCapture::onStopSent);
    connect(&m_run, &CaptureRun::streamEnded, this, &ConsoleCapture::onStreamEnded);
    connect(&m_run, &CaptureRun::finished, this, [this] {
        m_phase.finish();
        emit finished(m_result);
    });
    // Made to be started: a stop asked for before start() (an output that
    // failed at once) holds for the capture.
    m_phase.prepare();
}

void ConsoleCapture::start(const MonitorSettings &settings)
{
    m_settings = settings;
    if (m_phase.step() != CapturePhase::Step::Preparing && !m_phase.prepare())
        return;
    m_result = {};
    runConsoleCheck(m_owner, checkRequestOf(settings), settings.port, [this](const ConsoleCheckResult &check) {
        onChecked(check.verified, check.text, check.firmwareVersion);
    });
}

void ConsoleCapture::onChecked(bool verified, const QString &text, const QString &firmwareVersion)
{
    if (!verified) {
        fail(text);
        return;
    }
    emit logText(text);
    if (const QString refusal = m_settingsCheck ? m_settingsCheck(firmwareVersion) : QString(); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    m_result.firmwareVersion = firmwareVersion;
    CaptureStartRequest start;
    start.firmwareVersion = firmwareVersion;
    start.settings = m_settings;
    // A stop asked for during the check goes out once the stream runs.
    m_run.start(start);
}

void ConsoleCapture::onStartFailed(const CaptureStartOutcome &outcome)
{
    switch (outcome.status) {
    case CaptureStartOutcome::Status::PortFailed:
        fail(line(linktext::portFailureLine(m_settings.port, outcome.errorCode)));
        return;
    case CaptureStartOutcome::Status::UnsupportedSpeed:
    case CaptureStartOutcome::Status::UnsupportedDirection:
        // The exit of a start the board cannot be set up for.
        fail(line(unsupportedSettingLine(outcome.status)));
        return;
    case CaptureStartOutcome::Status::NoReply:
    case CaptureStartOutcome::Status::Streaming:
        fail(line(CaptureTexts::communicationFailed()));
        return;
    }
}

void ConsoleCapture::onStreamStarted(const QByteArray &reply)
{
    emit logText(line(QString::fromLatin1(reply.first(qMin(shownReplyBytes, reply.size())))
                      + CaptureTexts::replySuffix())
                 + CaptureTexts::streamStarted());
    emit streamStarted();
}

void ConsoleCapture::requestStop()
{
    if (!m_phase.stopAsked())
        m_run.requestStop();
}

void ConsoleCapture::onStopSent(CaptureRun::StopKind kind, bool written)
{
    if (kind == CaptureRun::StopKind::User && !written)
        emit logText(line(CaptureTexts::notStarted()));
}

void ConsoleCapture::onStreamEnded(CaptureRecorder::Exit exit)
{
    m_result.ending = m_run.ending(exit, m_settings.port);
    // A terminal gets the lost port's reason in words, not the window's message.
    if (m_result.ending.exit == CaptureExit::PortLost)
        m_result.ending.portProblem = linktext::portFailureLine(m_settings.port, m_run.portError());
    // Without a window the alarm is one more line of the log.
    const ExitReport report = reportExit(m_result.ending);
    QStringList lines = report.lines;
    if (!report.alarm.isEmpty())
        lines << report.alarm;
    emit logText(joinedLines(lines, u"\n"));
    m_result.status = ConsoleCaptureResult::Status::Captured;
    m_result.data.capture = m_run.recorder().capture();
    m_result.data.times = m_run.arrivalTimes();
    m_result.data.CaptureTimestamp = QDateTime::currentDateTime().toString(CaptureTexts::timestampFormat());
}

void ConsoleCapture::fail(const QString &text)
{
    m_result.status = ConsoleCaptureResult::Status::LinkFailed;
    m_result.text = text;
    // From the event loop: the link is let go of once the check's callback has returned.
    QTimer::singleShot(0, this, [this] {
        m_phase.finish();
        emit finished(m_result);
    });
}

} // namespace ferrox
