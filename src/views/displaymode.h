#pragma once

#include <QString>

namespace ferrox {

// DisplayModeNumber as a display-mode text gives it: the fourth character
// read as a digit, full-width digits included ("モード1 <HEX>" and
// "モード１" give 1). A text without a digit there gives 0, which renders
// nothing.
qint32 displayModeNumberOf(const QString &displayModeText);

} // namespace ferrox
