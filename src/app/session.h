#pragma once

#include "session/monitorsession.h"

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
class SerialPort;
class ToolWindowsHookup;
class SignalSampler;
class SignalsHookup;
class SimpleMonitorHookup;

// The program's session: the one object main() makes after the main
// window. It owns the monitor session (the phase, the last connection
// check, the current data), the link controller (the link owner, the
// connection check and the link choices), the log-window hookup (log
// windows and the current data's commands), the capture controls, the
// signal sampling and the simple monitor. Windows and subsystems read the
// state from state() instead of each other's widgets, and reach the board
// only through link(): a request to the link owner in their turn.
//
// The window's enables, the settings lock, the toolbar's and the menu's
// checks and the readout button follow state() (and the lamp panel's state)
// in one place, showState().
class Session : public QObject
{
    Q_OBJECT
public:
    // window and port stay the caller's and must outlive the session;
    // appFolder ends with a separator.
    Session(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent = nullptr);
    ~Session() override;

    MainWindow &window() const { return m_window; }
    MonitorSession &state() { return m_state; }
    const MonitorSession &state() const { return m_state; }
    // The program folder, ending with a separator: the data files live there.
    const QString &appFolder() const { return m_appFolder; }
    LinkController &link() const { return *m_link; }
    LinkOwner &linkOwner() const;
    LogWindowsHookup &logWindows() const { return *m_logWindows; }
    // StartMonitor, StopMonitor and the capture's controls.
    MonitorControls &monitor() const { return *m_monitor; }
    // The signal sampling ("Timer1") and the lamps' state.
    SignalSampler &sampler() const;
    // The measurement, editor, About and help windows.
    ToolWindowsHookup &toolWindows() const { return *m_toolWindows; }

    // Start-up's link part: open the port, check, tell the user when no
    // board answered. done runs when that is over.
    void startUp(std::function<void()> done = {});

private:
    void showState();

    MainWindow &m_window;
    MonitorSession m_state;
    QString m_appFolder;
    std::unique_ptr<LinkController> m_link;
    LogWindowsHookup *m_logWindows = nullptr; // a child of the window, deleted with the session
    std::unique_ptr<MonitorControls> m_monitor;
    std::unique_ptr<ToolWindowsHookup> m_toolWindows;
    std::unique_ptr<SignalsHookup> m_signals;
    std::unique_ptr<SimpleMonitorHookup> m_simpleMonitor;
};

} // namespace ferrox
