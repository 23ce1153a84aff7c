#include "simplemonitor.h"

#include "texts.h"

#include "platform/serialport.h"
#include "session/monitorsession.h"

namespace ferrox {

SimpleMonitorContext::~SimpleMonitorContext() = default;

SimpleMonitor::SimpleMonitor(LinkOwner &owner, MonitorSession &session, SimpleMonitorContext &context,
                             QObject *parent)
    : QObject(parent), m_owner(owner), m_link(owner), m_session(session), m_context(context)
{
    connect(&owner.port(), &SerialPort::receiveNotification, this, &SimpleMonitor::onReceive);
    connect(&owner.port(), &SerialPort::lineError, this, &SimpleMonitor::onLineError);
}

SimpleMonitor::~SimpleMonitor() = default;

void SimpleMonitor::TempMonitorCheck(bool pressed)
{
    m_session.setSimpleMonitorOpen(pressed);
    if (!pressed) {
        m_context.closeWindow();
        if (m_session.startEnabled() && m_session.BoardVerified())
            m_context.enableSignalPanel();
        return;
    }
    m_context.showWindow();
    m_context.disableSignalPanel();
}

void SimpleMonitor::windowClosed()
{
    m_session.setSimpleMonitorOpen(false);
    TP_Monitor(false);
}

void SimpleMonitor::TP_Monitor(bool pressed)
{
    if (!pressed) {
        if (!m_session.startEnabled())
            return;
        m_link.stop();
        if (m_session.BoardVerified()) {
            m_context.enableSignalPanel();
            m_context.setSamplingEnabled(true);
        }
        return;
    }
    m_context.setSamplingEnabled(false);
    m_context.disableSignalPanel();
    if (!m_introShown) {
        m_lines.clear();
        m_lines.setHeader(CaptureTexts::simpleMonitorWarning());
        m_introShown = true;
    }
    if (!m_session.captureHoldsLink())
        // The window shows the stream a frame at a time and without times.
        m_link.start({m_session.FirmwareVersion(), m_session.settings(), true});
}

void SimpleMonitor::onReceive()
{
    // Only the stream's own notifications: its bytes wait for its reader.
    if (SerialPort *port = m_link.port())
        show(m_streamDecoder.decode(port->readAll()));
}

void SimpleMonitor::feedCapture(QByteArrayView stored)
{
    show(m_captureDecoder.decode(stored));
}

void SimpleMonitor::show(const std::vector<LiveByte> &bytes)
{
    if (!m_session.SimpleMonitorOpen() || bytes.empty())
        return;
    // The display option cannot change within one block.
    const LiveDisplay display = m_session.settings().liveDisplay;
    std::vector<LiveCell> cells;
    cells.reserve(bytes.size());
    for (const LiveByte &b : bytes)
        cells.push_back(LiveCell::of(b, display));
    m_lines.append(cells);
}

void SimpleMonitor::onLineError()
{
    // Exchanges that wait for a reply, and a capture, answer errors on their
    // own port themselves: only the stream's link or a free one is ours.
    if (SerialPort *port = m_link.port()) {
        reopenAfterError(*port);
        return;
    }
    const LinkRequest recovery{"port recovery", true, false, false, {}};
    m_owner.request(recovery, [this](const LinkLease &lease) {
        reopenAfterError(lease.port());
        lease.end();
    });
}

void SimpleMonitor::reopenAfterError(SerialPort &port)
{
    port.discardInput();
    port.close();
    if (m_session.SimpleMonitorOpen())
        m_lines.append(LiveCell::portError());
    // A port that cannot be opened again says so by open()'s result, not
    // by another error event, so this cannot loop.
    port.open();
}

} // namespace ferrox
