#pragma once

class QMenuBar;

namespace ferrox {

// Fills the main window's menu bar: menus "mnuFile", "mnuMonitor",
// "mnuDpOpen", "mnuView", "mnuWindow", "mnuHelp" (QMenu objects) and their
// items (QAction objects named "mnu…"), with their start states: data-file
// save, text-file save, print and line-speed measurement disabled, the
// debug item "mnuModify" and its separator "mnuMonitorBar2" hidden, the
// three View items checkable and checked (the View menu's direction-colours
// switch, our own, gets its state from its owner). Only the menu structure is made
// here; commands are connected by their owners.
void buildMainMenu(QMenuBar *menuBar);

} // namespace ferrox
