#include "realmonitorwindow.h"

#include "capture/liveappender.h"
#include "capture/texts.h"

#include "platform/ui/appearance.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace ferrox {

namespace {

constexpr double WidthTwips = 7800;
constexpr double HeightTwips = 1500;
constexpr double BottomGapTwips = 450;

} // namespace

RealMonitorWindow::RealMonitorWindow(LiveTextAppender &appender, QWidget *parent)
    : QWidget(parent), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmRealMonitor"));
    setWindowTitle(CaptureTexts::simpleMonitorCaption());
    m_text->setObjectName(QStringLiteral("RichText_RealMonitor"));
    m_text->setReadOnly(true);
    // Live text is never undone; an undo history would grow without bound.
    m_text->setUndoRedoEnabled(false);
    m_text->setFont(gothicFont(9));
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setWordWrapMode(QTextOption::WrapAnywhere);
    // The text view fills the window.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    // A new window starts empty.
    appender.clear();
    connect(&appender, &LiveTextAppender::batchReady, this, &RealMonitorWindow::showBatch);
}

QMdiSubWindow *RealMonitorWindow::open(QMdiArea *area, LiveTextAppender &appender)
{
    auto *window = new RealMonitorWindow(appender);
    QMdiSubWindow *child = area->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->resize(twipsToPixelsX(WidthTwips, area), twipsToPixelsY(HeightTwips, area));
    child->show();
    // The inner height is known once the frame has laid the window out.
    const int top = area->viewport()->height() - window->height() - twipsToPixelsY(BottomGapTwips, area);
    child->move(0, std::max(0, top));
    return child;
}

void RealMonitorWindow::showBatch(const QString &text, qsizetype dropLeading)
{
    QScrollBar *bar = m_text->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor cursor(m_text->document());
    cursor.beginEditBlock();
    if (dropLeading > 0) {
        cursor.setPosition(static_cast<int>(dropLeading), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    cursor.endEditBlock();
    if (following)
        bar->setValue(bar->maximum());
}

void RealMonitorWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    event->accept();
}

} // namespace ferrox
