#include "consolemonitor.h"

#include "link/consolecheck.h"
#include "link/texts.h"
#include "platform/serialport.h"

#include <chrono>

namespace ferrox {

namespace {

qint64 nowEpochMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

ConsoleMonitor::ConsoleMonitor(LinkOwner &owner, QObject *parent) : QObject(parent), m_owner(owner), m_link(owner)
{
    connect(&owner.port(), &SerialPort::receiveNotification, this, &ConsoleMonitor::onReceive);
    connect(&owner.port(), &SerialPort::lineError, this, &ConsoleMonitor::onLineError);
}

void ConsoleMonitor::start(const MonitorSettings &settings)
{
    m_settings = settings;
    runConsoleCheck(m_owner, checkRequestOf(settings), settings.port, [this](const ConsoleCheckResult &check) {
        if (!check.verified) {
            finish(check.text);
            return;
        }
        emit logText(check.text);
        if (const QString refusal = m_settingsCheck ? m_settingsCheck(check.firmwareVersion) : QString();
            !refusal.isEmpty()) {
            finish(refusal);
            return;
        }
        // Each read is stamped with its time and idle gaps end lines:
        // every arrival wakes the program.
        m_link.start({check.firmwareVersion, m_settings, false});
        m_streaming = true;
        emit streamStarted();
        if (m_stopRequested) {
            m_stopRequested = false;
            requestStop();
        }
    });
}

void ConsoleMonitor::requestStop()
{
    if (m_finished)
        return;
    if (!m_streaming) {
        m_stopRequested = true;
        return;
    }
    m_streaming = false;
    m_link.stop([this] { finish(QString()); });
}

void ConsoleMonitor::onReceive()
{
    SerialPort *port = m_link.port();
    if (!m_streaming || !port)
        return;
    const QByteArray block = port->readAll();
    const qint64 at = nowEpochMicros();
    const std::vector<LiveByte> bytes = m_decoder.decode(block);
    if (!bytes.empty())
        emit received(bytes, at);
}

void ConsoleMonitor::onLineError(int errorCode)
{
    // The check answers errors during its own exchange.
    if (!m_streaming)
        return;
    m_streaming = false;
    finish(linktext::portFailureLine(m_settings.port, errorCode) + u'\n');
}

void ConsoleMonitor::finish(const QString &failure)
{
    if (std::exchange(m_finished, true))
        return;
    emit finished(failure);
}

} // namespace ferrox
