#include "fakedialogs.h"

namespace ferrox::test {

namespace {

template<typename T>
T takeFront(std::deque<T> &queue, T otherwise)
{
    if (queue.empty())
        return otherwise;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

} // namespace

MessageAnswer FakeDialogs::message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                   const QString &title)
{
    messages.append({text, icon, buttons, title});
    return takeFront(m_answers, buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok);
}

std::optional<QString> FakeDialogs::openFile(const FileDialogRequest &request)
{
    fileRequests.append(request);
    return takeFront(m_files, std::optional<QString>());
}

std::optional<PrintChoice> FakeDialogs::print(QPrinter &printer, const PrintRequest &request)
{
    printRequests.append(request);
    if (m_prints.empty())
        return std::nullopt;
    auto [prepare, choice] = takeFront(m_prints, {});
    if (prepare)
        prepare(printer);
    return choice;
}

} // namespace ferrox::test
