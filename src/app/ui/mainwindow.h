#pragma once

#include "app/base/mainsettings.h"
#include "app/ui/mainmenu.h"
#include "platform/statusreport.h"
#include "platform/settingsstore.h"

#include <QMainWindow>

class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;

namespace ferrox {

class Dialogs;
class MainToolBar;
class SettingsPanel;

// The main window "frmMain": menu bar, toolbar "tbToolBar", the MDI area
// for the monitor-log windows, the settings window "Picture_big" on the
// right and the status bar "sbStatusBar" (panel 1 and "ProgressBar1").
//
// The constructor runs the window's load: data commands disabled, stop
// button disabled, geometry restored from the stored twips, the settings
// panel filled and set from the settings store. Every control has a fixed
// objectName (tests find them by it); the program reaches them through the
// typed members below.
//
// Closing (close box or "mnuFileExit") is never refused: the MDI children
// are closed, closing() is emitted (the link port closes there), and the
// geometry is stored unless the window is minimized.
class MainWindow : public QMainWindow, public StatusPanel
{
    Q_OBJECT

public:
    MainWindow(SettingsStore &settingsStore, Dialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    ProgramSettings &settings() { return m_settings; }
    Dialogs &dialogs() { return m_dialogs; }

    QMdiArea *mdiArea() const { return m_mdiArea; }
    SettingsPanel *settingsPanel() const { return m_settingsPanel; }
    MainToolBar *toolBar() const { return m_toolBar; }
    const MainMenu &menus() const { return m_menu; }
    QString statusText() const;

    // The commands that need current data: "mnuFileSaveDataFile", the menu
    // "mnuDpOpen" with its five items and the buttons "Cmd_DpOpen(0…4)".
    void setDataCommandsEnabled(bool enabled);

    // The status line: remaining 0 shows text and hides the progress bar;
    // otherwise the bar and panel show 100 - remaining percent done.
    void ReportStatus(qint32 panel, const QString &text, qint32 remaining);

    // StatusPanel
    void setPanelText(const QString &text) override;
    void setProgressVisible(bool visible) override;
    void setProgressValue(int percentDone) override;

    // None: the View menu alone shows and hides the toolbar and status bar.
    QMenu *createPopupMenu() override;

signals:
    // The window is closing, after its MDI children: owners of other
    // windows and of the link port close theirs here.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildStatusBar();
    void connectViewCommands();
    void showSettingsPanel(bool shown);
    // Applies the stored geometry, moved onto a screen when it lies off
    // every one; a first run opens at the default place and at least large
    // enough for the menu bar and the whole settings panel.
    void restoreGeometryTwips(const TwipsGeometry &geometry);
    QSize firstRunSize() const;
    TwipsGeometry geometryTwips() const;

    ProgramSettings m_settings;
    Dialogs &m_dialogs;
    MainMenu m_menu;
    QMdiArea *m_mdiArea = nullptr;
    SettingsPanel *m_settingsPanel = nullptr;
    MainToolBar *m_toolBar = nullptr;
    QLabel *m_statusPanel = nullptr;
    QProgressBar *m_progressBar = nullptr;
};

} // namespace ferrox
