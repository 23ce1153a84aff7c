#include "logfilecommands.h"

#include "platform/statusreport.h"
#include "platform/dialogs.h"
#include "views/logwindow.h"
#include "views/texts.h"
#include "views/textfile.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"

namespace ferrox {

LogFileCommands::LogFileCommands(LogWindowArea &windows, Dialogs &dialogs,
                                 ProgramSettings &settings, StatusPanel &status)
    : m_windows(windows), m_dialogs(dialogs), m_files(dialogs, settings, status)
{
}

void LogFileCommands::openTextFile(const QString &given)
{
    std::optional<QString> chosen = given;
    if (given.isEmpty()) {
        FileDialogRequest request;
        request.title = viewtexts::openTextTitle();
        request.filter = viewtexts::textFileFilter();
        request.initialName = viewtexts::textFilePattern();
        chosen = m_files.open(request);
    }
    if (!chosen)
        return;
    const QString &path = *chosen;
    const TextFileRead file = readTextFile(path);
    switch (file.status) {
    case TextFileRead::Status::Ok: break;
    case TextFileRead::Status::Missing:
        m_dialogs.inform(viewtexts::fileMissing(), MessageIcon::Critical, viewtexts::fileOpenTitle());
        return;
    case TextFileRead::Status::Unreadable:
        m_dialogs.inform(viewtexts::fileUnreadable(path, file.reason), MessageIcon::Critical,
                         viewtexts::fileOpenTitle());
        return;
    case TextFileRead::Status::TooBig:
        m_dialogs.inform(viewtexts::fileTooBig(path), MessageIcon::Critical, viewtexts::fileOpenTitle());
        return;
    case TextFileRead::Status::NotText:
        m_dialogs.inform(viewtexts::notATextFile(path), MessageIcon::Critical, viewtexts::fileOpenTitle());
        return;
    }
    LogWindow *window = m_windows.registry().NewLogWindow();
    window->loadText(file.bytes, LogWindow::Format::DetectRichText, nullptr);
    window->setCaption(path);
    m_files.rememberFolder(path);
}

void LogFileCommands::saveTextFile()
{
    QWidget *child = m_windows.activeChild();
    if (!child)
        return;
    if (child->windowTitle() == viewtexts::simpleMonitorCaption()) {
        m_dialogs.inform(viewtexts::simpleMonitorNotSaved(), MessageIcon::Exclamation, BlankCaption);
        return;
    }
    LogTextView *view = m_windows.activeTextView();
    if (!view)
        return;
    FileDialogRequest request;
    request.title = viewtexts::saveTextTitle();
    request.filter = viewtexts::textFileFilter();
    request.defaultExtension = viewtexts::textFileExtension();
    request.initialName = viewtexts::textFilePattern();
    const std::optional<QString> chosen = m_files.save(request, viewtexts::overwriteText());
    if (!chosen)
        return;
    const QString &path = *chosen;
    const FileWriteResult written = writeTextFile(path, view->plainText());
    if (!written.ok) {
        m_dialogs.inform(written.message, MessageIcon::Critical);
        return;
    }
    child->setWindowTitle(path);
    m_files.rememberFolder(path);
}

QPrinter &LogFileCommands::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

void LogFileCommands::pageSetup()
{
    m_dialogs.pageSetup(printer(), viewtexts::pageSetupTitle());
}

void LogFileCommands::print()
{
    LogTextView *view = m_windows.activeTextView();
    if (!view)
        return;
    PrintRequest request;
    request.title = viewtexts::printTitle();
    // A match a find left selected is not the user's choice of text.
    request.selectionAvailable = view->hasUserSelection();
    const std::optional<PrintChoice> choice = m_dialogs.print(printer(), request);
    if (!choice)
        return;
    // Colours come from the rendering's cells, when the view is a log
    // window's and the user asked for them.
    const DocumentWindow *log = m_windows.activeLogWindow();
    const ByteCells *colours = m_windows.printColors() && log && log->textView() == view
        ? &log->highlighter()->cells()
        : nullptr;
    view->printText(&printer(), choice->selectionOnly && request.selectionAvailable, colours);
}

} // namespace ferrox
