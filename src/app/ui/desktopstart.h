#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QApplication;

namespace ferrox {

class LogFileCommands;
class MainWindow;
class MonitorLogCommands;

// How the window program fits the desktop: its command line, the
// toolkit's own texts in the user's language, its icon, one window for
// every start.

struct WindowCommandLine
{
    bool leave = false; // --help, --version or a usage error: end with status
    int status = 0;
    QString file;       // a data file to open, absolute; empty for none
};

// ferrox [--help] [--version] [FILE.dat]; prints what was asked for.
WindowCommandLine parseWindowCommandLine(const QStringList &arguments);

// The toolkit, or nothing when it finds no display to show a window on.
// Then, instead of the toolkit's abort, one line on standard error says so
// and that ferrox-cli needs none; the program ends with status 1. What the
// toolkit says while it starts is held back until it has started.
std::unique_ptr<QApplication> startToolkit(int &argc, char **argv);

// Qt's translations for the user's locale, Japanese when the locale has
// none (the program speaks Japanese), and the desktop entry's name.
void prepareDesktop(QApplication &app);
// The program's icon on every window. Its images are read as it is set,
// so the start sets it once the main window shows.
void setProgramIcon();

// A later start: hands the file to the running window, which comes to the
// front, and says on standard error which window that was (its process and
// display). False when no window took it (none answers on the socket).
bool handOverToRunningWindow(QApplication &app, const QString &file);

// The first start: listens for later starts and opens the command line's
// file: a log text (*.rsm, the program's log) as the log-file open command
// does, anything else as the data-file open command does.
void acceptHandOvers(MainWindow &window, MonitorLogCommands &monitorLog, LogFileCommands &logFiles,
                     const QString &file);

} // namespace ferrox
