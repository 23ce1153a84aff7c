#pragma once

#include "version/programversion.h"

#include <QString>

namespace ferrox {

// The program's name and version, and the texts made from them.
struct ProgramVersion
{
    static constexpr int major = FERROX_VERSION_MAJOR;
    static constexpr int minor = FERROX_VERSION_MINOR;
    static constexpr int revision = FERROX_VERSION_PATCH;
};

inline QString versionNumberText()
{
    return QStringLiteral("%1.%2.%3").arg(ProgramVersion::major).arg(ProgramVersion::minor).arg(ProgramVersion::revision);
}

// "Version " and the version number: the version label prepared at start-up.
inline QString versionLabelText()
{
    return QStringLiteral("Version ") + versionNumberText();
}

// "Ferrox Line Monitor " and the version label and two spaces: the main
// window's caption base.
inline QString mainTitleText()
{
    return QStringLiteral("Ferrox Line Monitor ") + versionLabelText() + QStringLiteral("  ");
}

// The program's name, a space and the version number: what --version prints.
inline QString versionLine(const QString &program)
{
    return program + u' ' + versionNumberText() + u'\n';
}

// The application title: untitled message boxes and the About window.
inline QString applicationTitle()
{
    return QStringLiteral("ferrox");
}

} // namespace ferrox
