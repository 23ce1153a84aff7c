#pragma once

// The choices' texts as the settings panel lists them and the settings
// store keeps them. Spaces are significant: a stored text is compared
// exactly.

#include <QString>

namespace ferrox::settingstext {

inline QString directionBoth() { return QStringLiteral("双方向"); }
inline QString directionJ1ToJ2() { return QStringLiteral("J1→J2"); }
inline QString directionJ2ToJ1() { return QStringLiteral("J1←J2"); }

inline QString displayMode1() { return QStringLiteral("モード1 <HEX>"); }
inline QString displayMode2() { return QStringLiteral("モード2 <ASCII>"); }
inline QString displayMode3() { return QStringLiteral("モード3 <HEX･CHAR>"); }
inline QString displayMode4() { return QStringLiteral("モード4 <EXCHANGE>"); }
inline QString displayMode5() { return QStringLiteral("モード5 <SAVE>"); }
// The first run's display mode: a full-width digit, none of the items.
inline QString firstRunDisplayMode() { return QStringLiteral("モード１"); }

} // namespace ferrox::settingstext
