#pragma once

class QAction;

namespace ferrox {

class LogWindowArea;
class SettingsStore;

// The View menu's switches of the log windows' direction colours: on the
// screen, and in printouts. Their states are kept apart from the settings
// panel's keys, in their own section: application "ferrox", section
// "LogView", keys "DirectionColors" (on when never set) and "PrintColors"
// (off when never set), "1" or "0"; any other stored text is the default.
void connectDirectionColorsSwitches(QAction &screen, QAction &print, SettingsStore &store, LogWindowArea &windows);

} // namespace ferrox
