#include "displaymode.h"

namespace ferrox {

qint32 displayModeNumberOf(const QString &displayModeText)
{
    if (displayModeText.size() < 4)
        return 0;
    const int digit = displayModeText.at(3).digitValue();
    return digit < 0 ? 0 : digit;
}

} // namespace ferrox
