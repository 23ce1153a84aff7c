#include "session.h"

#include "app/texts.h"
#include "app/ui/linkcontroller.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "app/ui/toolwindowshookup.h"
#include "app/ui/signalshookup.h"
#include "app/ui/simplemonitorhookup.h"
#include "signals/ui/signalpanel.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

namespace ferrox {

Session::Session(MainWindow &window, SerialPort &port, const QString &appFolder, QObject *parent)
    : QObject(parent), m_window(window), m_appFolder(appFolder)
{
    // The session's settings follow the panel's choices as they are made.
    SettingsPanel *panel = window.settingsPanel();
    const auto takeSettings = [this, panel] { m_state.setSettings(panel->settings()); };
    connect(panel, &SettingsPanel::settingsEdited, this, takeSettings);
    takeSettings();
    m_link = std::make_unique<LinkController>(window, port, *this);
    m_logWindows = new LogWindowsHookup(window, m_state.data(), appFolder);
    m_monitor = std::make_unique<MonitorControls>(window, *this);
    m_signals = std::make_unique<SignalsHookup>(window, *this, m_logWindows->area());
    m_simpleMonitor = std::make_unique<SimpleMonitorHookup>(window, *this, m_signals->sampler());
    m_toolWindows = std::make_unique<ToolWindowsHookup>(window, *this);
    // Whatever stream was stored is data to show and save.
    connect(&m_state, &MonitorSession::dataChanged, &window, [&window] { window.setDataCommandsEnabled(true); });
    ConnectionCheck &check = m_link->check();
    connect(&check, &ConnectionCheck::checkStarted, this, [this] { m_state.setChecking(true); });
    connect(&check, &ConnectionCheck::checkFinished, this, [this, &check] {
        const CheckResults &results = check.results();
        m_state.setCheckResults(results.LinkFailed, results.BoardVerified, results.FirmwareVersion);
        m_state.setChecking(false);
    });
    connect(&m_state, &MonitorSession::changed, this, &Session::showState);
    connect(&sampler(), &SignalSampler::changed, this, &Session::showState);
    showState();
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

void Session::showState()
{
    // The start button is enabled again by a stop; a second start is still
    // refused until the capture is over (mnuMonitorStart stays enabled).
    const bool startEnabled = m_state.startEnabled();
    m_window.toolbarButton(apptext::StartKey)->setEnabled(startEnabled);
    m_window.toolbarButton(apptext::StopKey)->setEnabled(!startEnabled);

    // ApplySettingsLock: the six settings controls, whatever disabled them before.
    const bool unlocked = !m_state.MonitorBusy();
    SettingsPanel *panel = m_window.settingsPanel();
    for (QWidget *control : std::initializer_list<QWidget *>{panel->portCheckButton(), panel->comPort(),
                                                             panel->direction(), panel->displayMode(),
                                                             panel->monitorSpeed(), panel->pcSpeed()})
        control->setEnabled(unlocked);

    // The readout goes with the lamp panel, and never while a capture holds
    // the stream.
    panel->signalPanel()->readButton()->setEnabled(sampler().panelEnabled() && !m_state.captureHoldsLink());
}

void Session::startUp(std::function<void()> done)
{
    m_link->startUp(std::move(done));
}

} // namespace ferrox
