#pragma once

#include <QString>

namespace ferrox {

// The program's name and version, and the texts made from them.
struct ProgramVersion
{
    static constexpr int major = 2;
    static constexpr int minor = 3;
    static constexpr int revision = 21;
};

inline QString versionNumberText()
{
    return QStringLiteral("%1.%2.%3").arg(ProgramVersion::major).arg(ProgramVersion::minor).arg(ProgramVersion::revision);
}

// "Version 2.3.21": the version label prepared at start-up.
inline QString versionLabelText()
{
    return QStringLiteral("Version ") + versionNumberText();
}

// "Ferrox Line Monitor Version 2.3.21  ": the main window's caption base.
inline QString mainTitleText()
{
    return QStringLiteral("Ferrox Line Monitor ") + versionLabelText() + QStringLiteral("  ");
}

// The application title: untitled message boxes and the About window.
inline QString applicationTitle()
{
    return QStringLiteral("ferrox");
}

} // namespace ferrox
