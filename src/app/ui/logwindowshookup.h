#pragma once

#include "frames/framer.h"

#include "data/monitordata.h"
#include "views/logwindowregistry.h"
#include "views/ui/logfilecommands.h"
#include "views/ui/logwindowarea.h"
#include "views/ui/monitorlogcommands.h"

#include <QObject>

namespace ferrox {

class Dialogs;
class MonitorSession;
class ProgramSettings;
class SettingsPanel;
class StatusPanel;
class WindowMenu;
struct MainMenu;

// The monitor-log windows in the main window: the MDI area's log windows,
// the File menu's text and data-file commands, the five display commands
// (menu and Cmd_DpOpen buttons), the Window menu, the open-log count in
// Label_x, on the session's current data and settings. A child of the main window, so it
// outlives the log windows.
class LogWindowsHookup : public QObject, public MonitorLogHost, public LogWindowListener
{
    Q_OBJECT

public:
    // What the log windows are shown and driven with: the window that owns
    // them (its caption names the current data), its MDI area, menu,
    // settings panel, status line, dialogs and settings.
    struct Items
    {
        QWidget *owner = nullptr;
        QMdiArea *area = nullptr;
        const MainMenu *menu = nullptr;
        SettingsPanel *panel = nullptr;
        StatusPanel *status = nullptr;
        Dialogs *dialogs = nullptr;
        ProgramSettings *settings = nullptr;
    };
    // Everything passed stays the caller's and must outlive this hookup;
    // appFolder: the program folder with a trailing separator.
    LogWindowsHookup(const Items &items, MonitorSession &session, const QString &appFolder);

    LogWindowRegistry &registry() { return m_area.registry(); }
    LogWindowArea &area() { return m_area; }
    MonitorLogCommands &monitorLog() { return m_monitorLog; }
    LogFileCommands &fileCommands() { return m_files; }

    // MonitorLogHost
    ReportHeaderSettings reportHeaderSettings() const override;
    QString displayModeText() const override;
    void setDataCommandsEnabled(bool enabled) override;
    void setCurrentData(const MonitorData &data) override;
    void setMainCaption(const QString &caption) override;
    void setReceiveLampColor(const QColor &color) override;

    // LogWindowListener
    void showOpenLogWindowCount(qint32 count) override;
    void setLogTextCommandsEnabled(bool enabled) override;

private:
    void connectCommands();
    // How frames are cut at the session's monitored line.
    FramerOptions framerOptions() const;
    // Opens a frame view of the current data beside the log windows.
    void displayFrames();

    const Items m_items;
    MonitorSession &m_session;
    const MonitorData &m_data;
    QString m_appFolder;
    LogWindowArea m_area;
    LogFileCommands m_files;
    MonitorLogCommands m_monitorLog;
    WindowMenu *m_windowMenu;
};

} // namespace ferrox
