#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace ferrox {

// Dialogs on Qt's own message box, file, print and page-setup dialogs.
// This is the one place where the program runs a modal dialog's loop.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    // The window the dialogs belong to, once it exists.
    void setParent(QWidget *parent) { m_parent = parent; }

    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                          const QString &title) override;
    std::optional<QString> openFile(const FileDialogRequest &request) override;
    std::optional<QString> saveFile(const FileDialogRequest &request) override;
    std::optional<PrintChoice> print(QPrinter &printer, const PrintRequest &request) override;
    bool pageSetup(QPrinter &printer, const QString &title) override;

private:
    std::optional<QString> fileDialog(const FileDialogRequest &request, bool save);

    QWidget *m_parent;
};

} // namespace ferrox
