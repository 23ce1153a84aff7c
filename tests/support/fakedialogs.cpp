#include "fakedialogs.h"

namespace ferrox::test {

MessageAnswer FakeDialogs::message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                   const QString &title)
{
    messages.append({text, icon, buttons, title});
    if (!m_answers.empty()) {
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::optional<QString> FakeDialogs::openFile(const FileDialogRequest &request)
{
    fileRequests.append(request);
    if (m_files.empty())
        return std::nullopt;
    const std::optional<QString> path = m_files.front();
    m_files.pop_front();
    return path;
}

std::optional<QString> FakeDialogs::saveFile(const FileDialogRequest &request)
{
    return openFile(request);
}

void FakeDialogs::acceptPrint(std::function<void(QPrinter &)> prepare, PrintChoice choice)
{
    m_prints.emplace_back(std::move(prepare), choice);
}

std::optional<PrintChoice> FakeDialogs::print(QPrinter &printer, const PrintRequest &request)
{
    printRequests.append(request);
    if (m_prints.empty())
        return std::nullopt;
    auto [prepare, choice] = m_prints.front();
    m_prints.pop_front();
    if (prepare)
        prepare(printer);
    return choice;
}

bool FakeDialogs::pageSetup(QPrinter &, const QString &title)
{
    pageSetupTitles.append(title);
    const bool accepted = m_pageSetupAccepted;
    m_pageSetupAccepted = false;
    return accepted;
}

} // namespace ferrox::test
