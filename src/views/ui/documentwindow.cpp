#include "documentwindow.h"

#include "platform/ui/appearance.h"
#include "views/logwindowregistry.h"
#include "views/texts.h"
#include "views/ui/logtextview.h"

#include <QCloseEvent>

namespace ferrox {

DocumentWindow::DocumentWindow(qint32 number, LogWindowRegistry &registry, QWidget *parent)
    : QWidget(parent), m_number(number), m_registry(&registry), m_view(new LogTextView(this))
{
    setObjectName(QStringLiteral("frmDocument"));
    // The stored number, as the window keeps it: decimal text.
    setProperty("number", QString::number(number));
    setWindowTitle(viewtexts::logWindowCaption());
    connect(m_view, &LogTextView::textLoaded, this, [this] {
        if (auto shown = std::exchange(m_shown, nullptr))
            shown();
    });
}

DocumentWindow::~DocumentWindow()
{
    if (!m_closed && m_registry)
        m_registry->windowDestroyed(m_number);
}

QString DocumentWindow::caption() const
{
    return windowTitle();
}

void DocumentWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void DocumentWindow::appendText(const QString &text)
{
    m_view->appendAtCaret(text);
}

void DocumentWindow::replaceText(const QString &text)
{
    m_view->replaceAll(text);
}

void DocumentWindow::setBackground(const QColor &color)
{
    m_view->setBackgroundColor(color);
}

void DocumentWindow::setRightMargin(double twips)
{
    m_view->setRightMargin(twips);
}

void DocumentWindow::loadText(const QByteArray &bytes, Format format, std::function<void()> shown)
{
    m_shown = std::move(shown);
    m_view->loadBytes(bytes, format == Format::DetectRichText);
}

bool DocumentWindow::isLoading() const
{
    return m_view->isLoading();
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
    const double innerTwips = pixelsToTwipsX(width(), this);
    // A window shrunk below the inset keeps wrapping at its own width.
    m_view->setRightMargin(std::max(0.0, innerTwips - marginInsetTwips));
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!m_closed) {
        m_closed = true;
        m_shown = nullptr;
        if (m_registry)
            m_registry->windowClosed(m_number);
    }
}

} // namespace ferrox
