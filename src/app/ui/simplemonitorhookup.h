#pragma once

#include "capture/simplemonitor.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMdiSubWindow;

namespace ferrox {

class MainWindow;
class Session;
class SignalSampler;

// The simple monitor on the main window: toolbar button 7 ("簡易モニタ")
// and "mnuMonitorTemp" kept in step, its window "frmRealMonitor" in the
// MDI area, the display option "Option_Txt" read for every byte, the
// settings panel's speed and direction, and the capture's live feed and
// hand-back. A choice of monitor speed or direction restarts it; "通信確認"
// closes its window.
class SimpleMonitorHookup : public QObject, public SimpleMonitorContext
{
    Q_OBJECT
public:
    SimpleMonitorHookup(MainWindow &window, Session &session, SignalSampler &sampler);
    ~SimpleMonitorHookup() override;

    // SimpleMonitorContext
    void setSamplingEnabled(bool enabled) override;
    void disableSignalPanel() override;
    void enableSignalPanel() override;
    void showWindow() override;
    void closeWindow() override;

private:
    bool pressed() const;
    // Button and menu are in step already: the window, then the stream.
    void toggled(bool pressed);
    // The window's close box: button 7 pops up, the monitor goes off.
    void unload();

    MainWindow &m_window;
    Session &m_session;
    SignalSampler &m_sampler;
    QAction *m_button;
    QAction *m_menuItem;
    SimpleMonitor m_monitor;
    QPointer<QMdiSubWindow> m_child;
};

} // namespace ferrox
