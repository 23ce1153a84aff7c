#include "helpcommands.h"

#include "helpwindow.h"

#include "about/texts.h"
#include "platform/dialogs.h"

namespace ferrox {

HelpCommands::HelpCommands(QWidget *mainWindow, Dialogs &dialogs, QString folder)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_dialogs(dialogs), m_folder(std::move(folder))
{
}

bool HelpCommands::ensureWindow()
{
    if (m_window)
        return true;
    // Read anew each time: the help may have been put in place meanwhile.
    std::optional<HelpBook> book = HelpBook::load(m_folder);
    if (!book) {
        m_dialogs.inform(abouttext::helpMissing(), MessageIcon::Information, m_mainWindow->windowTitle());
        return false;
    }
    m_window = new HelpWindow(std::move(*book), m_mainWindow);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    return true;
}

void HelpCommands::showContents()
{
    if (ensureWindow())
        m_window->showContents();
}

void HelpCommands::showSearch()
{
    if (ensureWindow())
        m_window->showSearch();
}

} // namespace ferrox
