#pragma once

#include "link/linkowner.h"
#include "session/monitorsession.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace ferrox {

class LinkController;
class LogWindowsHookup;
class MainWindow;
class MonitorControls;
class SerialPort;
class SignalSampler;
class SignalsHookup;
class SimpleMonitorHookup;
class ToolWindowsHookup;

// What main() makes after the main window: the monitor session (the phase,
// the last connection check, the current data), the link owner, and the
// hookups that tie each of them to the window: the link controller (the
// connection check and the link choices), the log windows and the current
// data's commands, the capture controls, the signal sampling, the simple
// monitor and the tool windows. Each hookup is handed only the models it
// binds; none of them reaches back here.
//
// The window's enables, the settings lock, the toolbar's and the menu's
// checks and the readout button follow the monitor session (and the lamp
// panel's state) in one place, showState().
class WindowWiring : public QObject
{
    Q_OBJECT
public:
    // window and port stay the caller's and must outlive the wiring;
    // appFolder ends with a separator.
    WindowWiring(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent = nullptr);
    ~WindowWiring() override;

    MonitorSession &state() { return m_state; }
    const MonitorSession &state() const { return m_state; }
    LinkController &link() const { return *m_link; }
    LogWindowsHookup &logWindows() const { return *m_logWindows; }
    // StartMonitor, StopMonitor and the capture's controls.
    MonitorControls &monitor() const { return *m_monitor; }
    // The signal sampling ("Timer1") and the lamps' state.
    SignalSampler &sampler() const;

    // Start-up's link part: open the port, check, tell the user when no
    // board answered. done runs when that is over.
    void startUp(std::function<void()> done = {});

private:
    void showState();

    MainWindow &m_window;
    MonitorSession m_state;
    LinkOwner m_owner; // goes last but for the state: every hookup uses it
    LogWindowsHookup *m_logWindows = nullptr; // a child of the window, deleted with the wiring
    std::unique_ptr<SignalsHookup> m_signals;
    std::unique_ptr<LinkController> m_link;
    std::unique_ptr<MonitorControls> m_monitor;
    std::unique_ptr<SimpleMonitorHookup> m_simpleMonitor;
    std::unique_ptr<ToolWindowsHookup> m_toolWindows;
};

} // namespace ferrox
