#include "session.h"

#include "app/ui/linkcontroller.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/toolwindowshookup.h"
#include "app/ui/signalshookup.h"
#include "app/ui/simplemonitorhookup.h"

namespace ferrox {

Session::Session(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent)
    : QObject(parent), m_window(window), m_appFolder(appFolder)
{
    m_link = std::make_unique<LinkController>(window, port, *this);
    m_logWindows = new LogWindowsHookup(window, appFolder);
    m_monitor = std::make_unique<MonitorControls>(window, *this);
    m_signals = std::make_unique<SignalsHookup>(window, *this, m_logWindows->area());
    m_simpleMonitor = std::make_unique<SimpleMonitorHookup>(window, *this, m_signals->sampler());
    m_toolWindows = std::make_unique<ToolWindowsHookup>(window, *this);
    // Whatever stream was stored is data to show and save.
    connect(this, &Session::dataChanged, &window, [&window] { window.setDataCommandsEnabled(true); });
    connect(&m_link->check(), &ConnectionCheck::checkFinished, this, &Session::changed);
    connect(m_logWindows, &LogWindowsHookup::monitorProcessingFinished, this, [this] { setMonitorBusy(false); });
}

Session::~Session()
{
    // The capture controls use the log windows; the link goes last.
    m_monitor.reset();
    delete m_logWindows;
}

LinkOwner &Session::linkOwner() const
{
    return m_link->owner();
}

SignalSampler &Session::sampler() const
{
    return m_signals->sampler();
}

MonitorData &Session::data() const
{
    return m_logWindows->monitorData();
}

void Session::setMonitorBusy(bool busy)
{
    if (m_monitorBusy == busy)
        return;
    m_monitorBusy = busy;
    emit changed();
}

void Session::setSimpleMonitorOpen(bool open)
{
    if (m_simpleMonitorOpen == open)
        return;
    m_simpleMonitorOpen = open;
    emit changed();
}

void Session::setCaptureStream(const CaptureBuffer &capture)
{
    data().capture = capture;
    // The arrival times belonged to the stream as captured, not to an edited one.
    data().times.reset();
    emit dataChanged();
}

bool Session::LinkFailed() const
{
    return m_link->check().results().LinkFailed;
}

bool Session::BoardVerified() const
{
    return m_link->check().results().BoardVerified;
}

QString Session::FirmwareVersion() const
{
    return m_link->check().results().FirmwareVersion;
}

void Session::startUp(std::function<void()> done)
{
    m_link->startUp(std::move(done));
}

} // namespace ferrox
