#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace ferrox {

// Holds the program's single-instance lock for as long as it lives. A
// lock that names no live process of this program (a crash's, one made on
// another host, one whose process number a different program now has, an
// empty or damaged file) is stale and taken over; one that a running copy
// of this program holds never is.
class SingleInstance
{
public:
    // lockName: file name of the lock in the user's runtime folder.
    explicit SingleInstance(const QString &lockName = QStringLiteral("ferrox.lock"));
    ~SingleInstance();
    // False when another running instance holds the lock, or when the lock
    // cannot be had at all (a folder in its place).
    bool acquired() const { return m_acquired; }
    // Tries once more (the holder may have ended meanwhile).
    bool tryAgain();
    QString lockPath() const;

    // The user's runtime folder (the temporary folder when there is none),
    // where the lock and the running window's hand-off socket live.
    static QString runtimeFolder();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

// The program's folder with a trailing separator: FERROX_HOME when set,
// else programFolder() of the executable's folder.
QString AppFolder();

// The program folder, with a trailing separator, of an executable in
// `executableFolder`: that folder for a build tree or a portable copy when
// it is writable; the per-user data folder (created on first use) when it
// is not, and always for an installed copy, whoever runs it: the data
// files never go into a system's bin folder.
QString programFolder(const QString &executableFolder);

// The platform's temporary folder: Qt's temporary location; TMPDIR as it
// is named when that folder does not exist yet (Qt names none then), so
// that the start-up creates it; "/tmp" when neither names one.
QString TempFolder();

// True when the folder exists or could be created. A path starting with
// "A" is never created: "A:" names a removable drive, and the program
// does not create folders on a medium that may not be there. When the
// whole path cannot be created at once, each level is created in turn
// and a failing level does not stop the scan; the result is then false.
bool EnsureFolder(const QString &path);

} // namespace ferrox
