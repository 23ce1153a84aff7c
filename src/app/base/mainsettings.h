#pragma once

#include "platform/settingsstore.h"

namespace ferrox {

// The main window's geometry in the settings store ("MainLeft", "MainTop",
// "MainWidth", "MainHeight" in "Settings2" of "ferrox"). The settings
// panel's choices are kept by the settings schema.

// Stored main-window geometry; a missing or non-numeric value gives its
// default (1000, 1000, 6500, 6500).
TwipsGeometry loadMainGeometry(const ProgramSettings &settings);
// False on a first run: none of the four keys holds a value yet.
bool mainGeometryStored(const ProgramSettings &settings);
void saveMainGeometry(ProgramSettings &settings, const TwipsGeometry &geometry);

} // namespace ferrox
