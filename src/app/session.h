#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace ferrox {

class LinkController;
class LinkOwner;
class LogWindowsHookup;
class MainWindow;
class MonitorControls;
class CaptureBuffer;
class SerialPort;
class ToolWindowsHookup;
class SignalSampler;
class SignalsHookup;
class SimpleMonitorHookup;
struct MonitorData;

// The program's session: the one object main() makes after the main
// window. It owns the link controller (the link owner, the connection
// check and the link choices), the log-window hookup (log windows, the
// current data and its commands), the capture controls, the signal
// sampling and the simple monitor, and holds the state the program's parts
// share:
//  - MonitorBusy: a capture runs, from its start until its processing ended;
//  - LinkFailed, BoardVerified, FirmwareVersion: the last connection check;
//  - SimpleMonitorOpen: the simple monitor's window is shown;
//  - data(): the current capture data.
// changed() follows every change of that state. Windows and subsystems read
// the state here instead of each other's widgets, and reach the board only
// through link(): a request to the link owner in their turn.
class Session : public QObject
{
    Q_OBJECT
public:
    // window and port stay the caller's and must outlive the session;
    // appFolder ends with a separator.
    Session(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent = nullptr);
    ~Session() override;

    MainWindow &window() const { return m_window; }
    // The program folder, ending with a separator: the data files live there.
    const QString &appFolder() const { return m_appFolder; }
    LinkController &link() const { return *m_link; }
    LinkOwner &linkOwner() const;
    LogWindowsHookup &logWindows() const { return *m_logWindows; }
    // StartMonitor, StopMonitor and the capture's controls.
    MonitorControls &monitor() const { return *m_monitor; }
    // The signal sampling ("Timer1") and the lamps' state.
    SignalSampler &sampler() const;
    MonitorData &data() const;
    // The measurement, editor, About and help windows.
    ToolWindowsHookup &toolWindows() const { return *m_toolWindows; }
    // The editor replaced the current stream (a store, or the reload when
    // it closes): dataChanged() follows.
    void setCaptureStream(const CaptureBuffer &capture);

    bool MonitorBusy() const { return m_monitorBusy; }
    void setMonitorBusy(bool busy);
    bool SimpleMonitorOpen() const { return m_simpleMonitorOpen; }
    void setSimpleMonitorOpen(bool open);
    bool LinkFailed() const;
    bool BoardVerified() const;
    QString FirmwareVersion() const;

    // Start-up's link part: open the port, check, tell the user when no
    // board answered. done runs when that is over.
    void startUp(std::function<void()> done = {});

signals:
    void changed();
    // The current data's stream was replaced outside a capture or a file open.
    void dataChanged();

private:
    MainWindow &m_window;
    QString m_appFolder;
    std::unique_ptr<LinkController> m_link;
    LogWindowsHookup *m_logWindows = nullptr; // a child of the window, deleted with the session
    std::unique_ptr<MonitorControls> m_monitor;
    std::unique_ptr<ToolWindowsHookup> m_toolWindows;
    std::unique_ptr<SignalsHookup> m_signals;
    std::unique_ptr<SimpleMonitorHookup> m_simpleMonitor;
    bool m_monitorBusy = false;
    bool m_simpleMonitorOpen = false;
};

} // namespace ferrox
