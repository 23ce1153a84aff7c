#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

namespace ferrox::test {

// Dialogs that answer from a script and record what was asked. Unscripted
// message boxes answer Ok (or Yes); file, print and page-setup dialogs that
// are not scripted are cancelled.
class FakeDialogs : public Dialogs
{
public:
    struct Message
    {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        QString title;
    };

    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                          const QString &title) override;
    std::optional<QString> openFile(const FileDialogRequest &request) override;
    std::optional<QString> saveFile(const FileDialogRequest &request) override { return openFile(request); }
    std::optional<PrintChoice> print(QPrinter &printer, const PrintRequest &request) override;
    bool pageSetup(QPrinter &, const QString &) override { return false; }

    // Scripting.
    void answerNextMessage(MessageAnswer answer) { m_answers.push_back(answer); }
    void chooseFile(const std::optional<QString> &path) { m_files.push_back(path); }
    // The next print dialog is accepted: the printer is set up by prepare
    // (for example to write a PDF) and the choice returned.
    void acceptPrint(std::function<void(QPrinter &)> prepare, PrintChoice choice = {})
    {
        m_prints.emplace_back(std::move(prepare), choice);
    }

    // Records.
    QList<Message> messages;
    QList<FileDialogRequest> fileRequests;
    QList<PrintRequest> printRequests;

private:
    std::deque<MessageAnswer> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<std::pair<std::function<void(QPrinter &)>, PrintChoice>> m_prints;
};

} // namespace ferrox::test
