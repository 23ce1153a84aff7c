#pragma once

#include "frametablemodel.h"

namespace ferrox {

class SettingsStore;

// The frame view's highlight rules live in our own settings group
// ("FrameHighlights" of application "ferrox"), never in "Settings2": key
// "Count", then "Rule1" … as "hex:0183|#ffd0a0" (a byte pattern, an odd
// last digit a high nibble) or "text:ERR|#ffd0a0"; the colour follows the
// last "|", so a text may hold "|". Unreadable rules are skipped.
QList<HighlightRule> loadHighlightRules(const SettingsStore &store);
void saveHighlightRules(SettingsStore &store, const QList<HighlightRule> &rules);

// The decoder and the gap last chosen in a frame view, for the next one:
// group "FrameView" of application "ferrox", keys "Decoder" (as
// makeDecoder() takes it; "lines" when none) and "Gap" (milliseconds as
// typed; empty for the default gap).
struct FrameViewChoice
{
    QString decoder;
    QString gapMillis;
};
FrameViewChoice loadFrameViewChoice(const SettingsStore &store);
void saveFrameViewChoice(SettingsStore &store, const FrameViewChoice &choice);

} // namespace ferrox
