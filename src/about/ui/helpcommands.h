#pragma once

#include "helpwindow.h"

#include <QObject>
#include <QPointer>

namespace ferrox {

class Dialogs;

// "mnuHelpContents" and "mnuHelpSearchForHelpOn": one help viewer for the
// main window, made on first use. Without a readable help the user is
// told so in a box captioned with the main window's caption.
class HelpCommands : public QObject
{
    Q_OBJECT
public:
    // folder: the help's folder, normally helpFolder().
    HelpCommands(QWidget *mainWindow, Dialogs &dialogs, QString folder);

    void showContents();
    void showSearch();

    HelpWindow *window() const { return m_window; }

private:
    bool ensureWindow();

    QWidget *m_mainWindow;
    Dialogs &m_dialogs;
    QString m_folder;
    QPointer<HelpWindow> m_window;
};

} // namespace ferrox
