#pragma once

class QAction;

namespace ferrox {

class LogWindowArea;
class SettingsStore;

// The View menu's switch of the log windows' direction colours. Its state
// is kept apart from the settings panel's keys, in its own section:
// application "ferrox", section "LogView", key "DirectionColors", "1" or
// "0"; on when never set, and when the stored text is neither.
void connectDirectionColorsSwitch(QAction &toggle, SettingsStore &store, LogWindowArea &windows);

} // namespace ferrox
