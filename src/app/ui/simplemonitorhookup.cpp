#include "simplemonitorhookup.h"

#include "monitorcontrols.h"
#include "settingspanel.h"

#include "capture/ui/livelinesview.h"
#include "capture/ui/realmonitorwindow.h"
#include "link/linkchoices.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/logwindowarea.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QTimer>

namespace ferrox {

SimpleMonitorHookup::SimpleMonitorHookup(const Items &items, MonitorSession &state, LinkOwner &owner,
                                         SignalSampler &sampler, MonitorControls &capture, LinkChoices &choices)
    : m_items(items),
      m_state(state),
      m_sampler(sampler),
      m_button(items.button),
      m_menuItem(items.menuItem),
      m_monitor(owner, state, *this)
{
    m_menuItem->setCheckable(true);
    connect(&capture, &MonitorControls::simpleMonitorToggled, this, &SimpleMonitorHookup::toggled);
    connect(m_menuItem, &QAction::triggered, this, &SimpleMonitorHookup::toggled);
    // Button and menu show the session's state, whoever changed it (a
    // sampling error switches the simple monitor off too).
    connect(&state, &MonitorSession::changed, this, &SimpleMonitorHookup::showPressed);
    connect(&capture, &MonitorControls::liveBytes, this,
            [this](const QByteArray &stored) { m_monitor.feedCapture(stored); });
    connect(&capture, &MonitorControls::handBackToSimpleMonitor, this,
            [this] { m_monitor.TP_Monitor(true); });
    choices.setSimpleMonitorHooks(
        [this] {
            if (m_child)
                m_child->close();
        },
        [this] { m_monitor.TP_Monitor(pressed()); });
}

SimpleMonitorHookup::~SimpleMonitorHookup()
{
    // The program closes: the window goes without switching anything off.
    if (m_child)
        m_child->widget()->disconnect(this);
}

bool SimpleMonitorHookup::pressed() const
{
    return m_state.SimpleMonitorOpen();
}

void SimpleMonitorHookup::showPressed()
{
    m_button->setChecked(pressed());
    m_menuItem->setChecked(pressed());
}

void SimpleMonitorHookup::toggled(bool pressed)
{
    m_monitor.TempMonitorCheck(pressed);
    // The window is drawn before the board is talked to.
    QTimer::singleShot(0, this, [this, pressed] { m_monitor.TP_Monitor(pressed); });
}

void SimpleMonitorHookup::unload()
{
    if (m_child) // closing already
        m_child->widget()->disconnect(this);
    m_child = nullptr;
    m_monitor.windowClosed();
}

void SimpleMonitorHookup::setSamplingEnabled(bool enabled)
{
    m_sampler.setSamplingEnabled(enabled);
}

void SimpleMonitorHookup::disableSignalPanel()
{
    m_sampler.DisableSignalPanel();
}

void SimpleMonitorHookup::enableSignalPanel()
{
    m_sampler.EnableSignalPanel();
}

void SimpleMonitorHookup::showWindow()
{
    if (m_child)
        return;
    m_child = RealMonitorWindow::open(&m_items.windows->mdiArea(), m_monitor.lines());
    auto *live = static_cast<RealMonitorWindow *>(m_child->widget());
    connect(live, &RealMonitorWindow::closed, this, &SimpleMonitorHookup::unload);
    // The log windows' direction colours, and each change of their switch.
    const auto applyColours = [view = live->liveView()](bool on) {
        view->setDirectionColors(on, ByteHighlighter::j1Color(), ByteHighlighter::j2Color());
    };
    applyColours(m_items.windows->directionColors());
    connect(m_items.directionColors, &QAction::toggled, live, applyColours);
}

void SimpleMonitorHookup::closeWindow()
{
    if (!m_child)
        return;
    QMdiSubWindow *child = m_child;
    m_child = nullptr;
    child->widget()->disconnect(this);
    child->close();
}

} // namespace ferrox
