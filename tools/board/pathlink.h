#pragma once

#include <QString>

namespace ferrox {

// A symbolic link at a fixed path (the --link path the program is pointed
// at) to the pty's slave. It is removed again when this object goes, unless
// something else has replaced it meanwhile.
class PathLink
{
public:
    PathLink(const QString &path, const QString &target);
    ~PathLink();
    PathLink(const PathLink &) = delete;
    PathLink &operator=(const PathLink &) = delete;

    // Makes the link. A stale link left at the path (a board that was
    // killed) is replaced; any other file there is left alone and refused.
    bool create(QString &error);
    void remove();

private:
    QString m_path;
    QString m_target;
    bool m_created = false;
};

} // namespace ferrox
