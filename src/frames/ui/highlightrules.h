#pragma once

#include "frametablemodel.h"

namespace ferrox {

class SettingsStore;

// The frame view's highlight rules live in our own settings group
// ("FrameHighlights" of application "ferrox"), never in the program's
// documented one: key "Count", then "Rule1" … as "hex:0183|#ffd0a0" (a byte
// pattern) or "text:ERR|#ffd0a0". Unreadable rules are skipped.
QList<HighlightRule> loadHighlightRules(const SettingsStore &store);
void saveHighlightRules(SettingsStore &store, const QList<HighlightRule> &rules);

} // namespace ferrox
