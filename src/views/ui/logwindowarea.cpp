#include "logwindowarea.h"

#include "platform/ui/appearance.h"
#include "views/windowlayout.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace ferrox {

namespace {

// A new window's height; its width is the log window's own.
constexpr double initialHeightTwips = 5400;

} // namespace

LogWindowArea::LogWindowArea(QMdiArea &area, StatusPanel &status)
    : m_area(&area), m_registry(*this, status)
{
}

LogWindowArea::~LogWindowArea()
{
    if (!m_area)
        return;
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (auto *window = qobject_cast<DocumentWindow *>(sub->widget()))
            window->detachFromRegistry();
    }
}

LogWindow *LogWindowArea::createLogWindow(qint32 number)
{
    auto *window = new DocumentWindow(number, m_registry);
    window->setDirectionColors(m_directionColors);
    QMdiSubWindow *sub = m_area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(twipsToPixelsX(DocumentWindow::initialWidthTwips, m_area),
                twipsToPixelsY(initialHeightTwips, m_area));
    sub->show();
    // The area places a new window by its own rule, which can put it
    // partly outside once a few are open.
    sub->setGeometry(keptInside(sub->geometry(), m_area->viewport()->rect()));
    m_area->setActiveSubWindow(sub);
    return window;
}

QWidget *LogWindowArea::activeChild() const
{
    QMdiSubWindow *sub = m_area ? m_area->activeSubWindow() : nullptr;
    return sub ? sub->widget() : nullptr;
}

LogTextView *LogWindowArea::activeTextView() const
{
    DocumentWindow *window = activeLogWindow();
    return window ? window->textView() : nullptr;
}

void LogWindowArea::setDirectionColors(bool on)
{
    m_directionColors = on;
    if (!m_area)
        return;
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (auto *window = qobject_cast<DocumentWindow *>(sub->widget()))
            window->setDirectionColors(on);
    }
}

DocumentWindow *LogWindowArea::activeLogWindow() const
{
    return qobject_cast<DocumentWindow *>(activeChild());
}

} // namespace ferrox
