#include "windowwiring.h"

#include "app/ui/linkcontroller.h"
#include "app/ui/longcapturepanel.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/maintoolbar.h"
#include "app/ui/mainwindow.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "app/ui/signalshookup.h"
#include "app/ui/simplemonitorhookup.h"
#include "app/ui/toolwindowshookup.h"
#include "settings/settingsschema.h"

namespace ferrox {

WindowWiring::WindowWiring(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent)
    : QObject(parent), m_window(window), m_owner(port)
{
    // The settings as stored, as the panel shows them; from then on the
    // panel writes the user's edits into the session.
    m_state.setSettings(storedSettings(window.settings()));
    window.settingsPanel()->writeEditsInto(m_state);
    m_state.setLongCapture(storedLongCapture(window.settings().store()));
    window.settingsPanel()->longCapturePanel()->bind(m_state, window.settings().store());
    const LogWindowsHookup::Items logItems{&window,          window.mdiArea(), &window.menus(),
                                           window.settingsPanel(), &window,         &window.dialogs(),
                                           &window.settings()};
    m_logWindows = new LogWindowsHookup(logItems, m_state, appFolder);
    SettingsPanel &panel = *window.settingsPanel();
    m_signals = std::make_unique<SignalsHookup>(panel, window.dialogs(), window, m_owner, m_state,
                                                m_logWindows->area());
    m_link = std::make_unique<LinkController>(panel, window.menus().rateMeasure, window, window.dialogs(),
                                              window.settings(), m_owner, m_state, m_signals->sampler());
    // When the window closes, the board is left stopped and the port closed.
    connect(&window, &MainWindow::closing, this, [this] {
        m_owner.shutdown();
        m_monitor->longCapture().abandon();
    });
    // The toolbar's "設定" belongs to the main window itself.
    const MonitorControls::Items captureItems{window.toolBar()->start(), window.toolBar()->stop(),
                                              window.toolBar()->simpleMonitor(), window.menus().monitorStart,
                                              window.menus().monitorStop, &panel, &window, &window.dialogs(),
                                              window.menus().longCaptureOpen};
    m_monitor = std::make_unique<MonitorControls>(captureItems, m_state, m_owner, m_signals->sampler(),
                                                  *m_logWindows, appFolder);
    const SimpleMonitorHookup::Items simpleMonitorItems{&m_logWindows->area(), window.toolBar()->simpleMonitor(),
                                                        window.menus().monitorTemp,
                                                        window.menus().viewDirectionColors};
    m_simpleMonitor = std::make_unique<SimpleMonitorHookup>(simpleMonitorItems, m_state, m_owner,
                                                            m_signals->sampler(), *m_monitor, m_link->choices());
    m_toolWindows = std::make_unique<ToolWindowsHookup>(&window, window.menus(), window.settings(), window.dialogs(),
                                                        m_state, m_owner, m_signals->sampler(),
                                                        m_logWindows->registry(), appFolder);
    ConnectionCheck &check = m_link->check();
    connect(&check, &ConnectionCheck::checkStarted, this, [this] { m_state.setChecking(true); });
    connect(&check, &ConnectionCheck::checkFinished, this, [this] { m_state.setChecking(false); });
    connect(&m_state, &MonitorSession::changed, this, &WindowWiring::showState);
    connect(&sampler(), &SignalSampler::changed, this, &WindowWiring::showState);
    showState();
}

WindowWiring::~WindowWiring()
{
    // The capture controls use the log windows; the link owner goes last.
    m_monitor.reset();
    delete m_logWindows;
}

SignalSampler &WindowWiring::sampler() const
{
    return m_signals->sampler();
}

void WindowWiring::showState()
{
    // The start button is enabled again by a stop; a second start is still
    // refused until the capture is over (mnuMonitorStart stays enabled).
    m_window.toolBar()->setStartEnabled(m_state.startEnabled());
    m_window.setDataCommandsEnabled(m_state.hasCurrentData());
    // ApplySettingsLock: the six settings controls, whatever disabled them before.
    m_window.settingsPanel()->setSettingsLocked(m_state.MonitorBusy());
    m_window.settingsPanel()->longCapturePanel()->setEnabled(!m_state.MonitorBusy());
    // The readout goes with the lamp panel, and never while a capture holds
    // the stream.
    m_window.settingsPanel()->setReadoutEnabled(sampler().panelEnabled() && !m_state.captureHoldsLink());
}

void WindowWiring::startUp(std::function<void()> done)
{
    m_link->startUp(std::move(done));
}

} // namespace ferrox
