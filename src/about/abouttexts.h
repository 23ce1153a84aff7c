#pragma once

#include <QString>

namespace ferrox {

// The four labels of the About window.
struct AboutTexts
{
    QString version;     // "lblVersion"
    QString title;       // "lblTitle"
    QString description; // "lblDescription"
    QString support;     // "lblDisclaimer"

    bool operator==(const AboutTexts &) const = default;
};

// What the window sets when it is loaded.
AboutTexts aboutLoadTexts();
// What start-up puts in the window it loads without showing: shown by
// the first About until that window is closed.
AboutTexts aboutStartUpTexts();

} // namespace ferrox
