#pragma once

#include "capture/simplemonitor.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMdiSubWindow;

namespace ferrox {

class LinkChoices;
class LinkOwner;
class LogWindowArea;
class MonitorControls;
class MonitorSession;
class SignalSampler;

// The simple monitor on the main window: toolbar button 7 ("簡易モニタ")
// and "mnuMonitorTemp" checked as the session has it on, its window "frmRealMonitor" in the
// MDI area, the display option "Option_Txt" read for every byte, the
// settings panel's speed and direction, and the capture's live feed and
// hand-back. A choice of monitor speed or direction restarts it; "通信確認"
// closes its window.
class SimpleMonitorHookup : public QObject, public SimpleMonitorContext
{
    Q_OBJECT
public:
    // The items a window shows the simple monitor with: the log windows'
    // area (its MDI area, its direction colours), the toolbar's button 7,
    // "mnuMonitorTemp" and the direction colours' switch
    // "mnuViewDirectionColors", which sets the log windows' colours.
    struct Items
    {
        const LogWindowArea *windows = nullptr;
        QAction *button = nullptr;
        QAction *menuItem = nullptr;
        QAction *directionColors = nullptr;
    };
    // Everything passed stays the caller's and must outlive the hookup.
    SimpleMonitorHookup(const Items &items, MonitorSession &state, LinkOwner &owner, SignalSampler &sampler,
                        MonitorControls &capture, LinkChoices &choices);
    ~SimpleMonitorHookup() override;

    // SimpleMonitorContext
    void setSamplingEnabled(bool enabled) override;
    void disableSignalPanel() override;
    void enableSignalPanel() override;
    void showWindow() override;
    void closeWindow() override;

private:
    // The simple monitor is on: the session says so.
    bool pressed() const;
    void showPressed();
    // Button or menu pressed: the window, then the stream.
    void toggled(bool pressed);
    // The window's close box: button 7 pops up, the monitor goes off.
    void unload();

    const Items m_items;
    const MonitorSession &m_state;
    SignalSampler &m_sampler;
    QAction *m_button;
    QAction *m_menuItem;
    SimpleMonitor m_monitor;
    QPointer<QMdiSubWindow> m_child;
};

} // namespace ferrox
