#pragma once

#include "views/ui/windowmenu.h"

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace ferrox {

// The main window's menus and their items, each by its own member: the
// owners connect and switch them without looking anything up. Every item
// keeps its objectName ("mnuFileExit"); a separator only where it is
// switched ("mnuMonitorBar2").
struct MainMenu
{
    // File
    QAction *openDataFile = nullptr;
    QAction *saveDataFile = nullptr;
    QAction *exportData = nullptr;
    QAction *openTextFile = nullptr;
    QAction *saveTextFile = nullptr;
    QAction *pageSetup = nullptr;
    QAction *print = nullptr;
    QAction *exit = nullptr;
    // Monitor
    QAction *monitorStart = nullptr;
    QAction *monitorStop = nullptr;
    QAction *monitorTemp = nullptr;
    QAction *longCaptureOpen = nullptr; // ours: a finished file of the long capture
    QAction *rateMeasure = nullptr;
    QAction *modifySeparator = nullptr;
    QAction *modify = nullptr;
    // The display menu "mnuDpOpen": display command k is displayModes[k - 1].
    QMenu *display = nullptr;
    std::array<QAction *, 5> displayModes{};
    QAction *timeline = nullptr;
    QAction *frames = nullptr;
    // View
    QAction *viewSetting = nullptr;
    QAction *viewToolbar = nullptr;
    QAction *viewStatusBar = nullptr;
    QAction *viewDirectionColors = nullptr;
    QAction *viewPrintColors = nullptr;
    // Window
    QMenu *window = nullptr;
    WindowMenuItems windowItems;
    // Help
    QAction *helpContents = nullptr;
    QAction *helpSearch = nullptr;
    QAction *helpAbout = nullptr;
};

// Fills the main window's menu bar: menus "mnuFile", "mnuMonitor",
// "mnuDpOpen", "mnuView", "mnuWindow", "mnuHelp" (QMenu objects) and their
// items (QAction objects named "mnu…"), with their start states: data-file
// save, text-file save, print and line-speed measurement disabled, the
// debug item "mnuModify" and its separator "mnuMonitorBar2" hidden, the
// three View items checkable and checked (the View menu's direction-colours
// switch, our own, gets its state from its owner). Only the menu structure is made
// here; commands are connected by their owners.
MainMenu buildMainMenu(QMenuBar *menuBar);

} // namespace ferrox
