#pragma once

#include "views/ui/filechoice.h"

#include <QPrinter>

#include <memory>

namespace ferrox {

class Dialogs;
class LogWindowArea;
class ProgramSettings;
class StatusPanel;

// The File menu's log-text commands: open a text file into a new log
// window, save the active window's text, page setup and print. All
// dialogs go through Dialogs; a cancelled dialog changes nothing.
class LogFileCommands
{
public:
    LogFileCommands(LogWindowArea &windows, Dialogs &dialogs, ProgramSettings &settings,
                    StatusPanel &status);

    // mnuFileOpenTextFile; a path given (a log named on the command line)
    // opens without the dialog.
    void openTextFile(const QString &path = {});
    void saveTextFile();  // mnuFileSaveTextFile
    void pageSetup();     // mnuFilePageSetup
    void print();         // mnuFilePrint

    // Page setup and print share one printer, so a setup holds for the
    // prints that follow. Made on first use: setting up the printing
    // system costs the window's start several milliseconds.
    QPrinter &printer();

private:
    LogWindowArea &m_windows;
    Dialogs &m_dialogs;
    FileChoice m_files;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace ferrox
