#include "qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace ferrox {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A modal window (the data editor, the measurement) keeps its boxes in
// front of it; otherwise they belong to the main window.
QWidget *ownerOf(QWidget *mainWindow)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : mainWindow;
}

// An empty title is replaced by the program's name on X11; a space keeps
// the title bar of a box without a caption empty.
QString shownTitle(const QString &title)
{
    const QString shown = messageTitle(title);
    return shown.isEmpty() ? QStringLiteral(" ") : shown;
}

} // namespace

MessageAnswer QtDialogs::message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                 const QString &title)
{
    QMessageBox box(qtIcon(icon), shownTitle(title), text, QMessageBox::NoButton, ownerOf(m_parent));
    switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    box.exec();
    // A box that a shutdown ends has no clicked button; that is a refusal.
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    switch (answer) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::fileDialog(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(ownerOf(m_parent), request.title, request.initialFolder, qtFileFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    // The program asks before it overwrites, in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest &request)
{
    return fileDialog(request, false);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest &request)
{
    return fileDialog(request, true);
}

std::optional<PrintChoice> QtDialogs::print(QPrinter &printer, const PrintRequest &request)
{
    QPrintDialog dialog(&printer, ownerOf(m_parent));
    dialog.setWindowTitle(request.title);
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintPageRange, false);
    options.setFlag(QAbstractPrintDialog::PrintSelection, request.selectionAvailable);
    dialog.setOptions(options);
    if (request.selectionAvailable)
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return PrintChoice{dialog.printRange() == QAbstractPrintDialog::Selection};
}

bool QtDialogs::pageSetup(QPrinter &printer, const QString &title)
{
    QPageSetupDialog dialog(&printer, ownerOf(m_parent));
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ferrox
