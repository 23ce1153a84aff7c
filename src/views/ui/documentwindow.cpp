#include "documentwindow.h"

#include "platform/ui/appearance.h"
#include "views/logwindowregistry.h"
#include "views/texts.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/findbar.h"
#include "views/ui/logsearch.h"
#include "views/ui/logtextview.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace ferrox {

namespace {

// Marking more linked bytes than a screen shows gains nothing and costs a
// pass over the whole text; the status line still counts them all.
constexpr qint32 maxLinkedMarks = 4096;

QString directionOf(const ByteCells &cells, qint32 first, qint32 last)
{
    bool j1 = false;
    bool j2 = false;
    for (qint32 i = first; i < last && !(j1 && j2); ++i) {
        j1 |= cells.bytes()[size_t(i)].sender == Direction::J1;
        j2 |= cells.bytes()[size_t(i)].sender == Direction::J2;
    }
    return j1 && j2 ? viewtexts::directionBoth() : j1 ? viewtexts::directionJ1() : viewtexts::directionJ2();
}

} // namespace

DocumentWindow::DocumentWindow(qint32 number, LogWindowRegistry &registry, QWidget *parent)
    : QWidget(parent), m_number(number), m_registry(&registry), m_view(new LogTextView(this)),
      m_highlighter(new ByteHighlighter(m_view->document())),
      m_search(std::make_unique<LogSearch>(*m_view, *m_highlighter))
{
    setObjectName(QStringLiteral("frmDocument"));
    // The stored number, as the window keeps it: decimal text.
    setProperty("number", QString::number(number));
    setWindowTitle(viewtexts::logWindowCaption());
    m_highlighter->followScreen(*m_view); // coloured before anyone hears the text is in
    connect(m_view, &LogTextView::textLoaded, this, [this] {
        if (m_findBar)
            m_findBar->setBytesAvailable(!m_highlighter->cells().isEmpty());
        if (auto shown = std::exchange(m_shown, nullptr))
            shown();
        if (const auto backwards = std::exchange(m_findWhenLoaded, std::nullopt))
            findAgain(*backwards);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1); // the find bar and the status line come below when asked for

    const auto shortcut = [this](const QKeySequence &keys, auto slot) {
        auto *s = new QShortcut(keys, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { openFindBar(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { findAgain(false); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findAgain(true); });

    // Selections change with every mouse move while dragging: the linked
    // cells follow once it rests.
    m_linkTimer.setSingleShot(true);
    m_linkTimer.setInterval(30);
    connect(&m_linkTimer, &QTimer::timeout, this, &DocumentWindow::linkSelection);
    connect(m_view, &QPlainTextEdit::selectionChanged, &m_linkTimer, qOverload<>(&QTimer::start));
    connect(m_view->document(), &QTextDocument::contentsChange, this, &DocumentWindow::textChanged);
}

DocumentWindow::~DocumentWindow()
{
    // The view outlives this part of the window; nothing of it may call in.
    disconnect(m_view, nullptr, this, nullptr);
    disconnect(m_view->document(), nullptr, this, nullptr);
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
    setCells({}, {});
    m_shown = std::move(shown);
    m_view->loadBytes(bytes, format == Format::DetectRichText);
}

bool DocumentWindow::isLoading() const
{
    return m_view->isLoading();
}

void DocumentWindow::loadRendering(const QByteArray &text, const ByteMap &map, std::function<void()> shown)
{
    // The cells are in place before the text arrives, so each load step
    // colours the lines it adds.
    setCells(text, map);
    m_shown = std::move(shown);
    m_view->loadBytes(text, false);
}

void DocumentWindow::setCells(const QByteArray &text, const ByteMap &map)
{
    m_search->clear();
    m_highlighter->setCells(ByteCells(text, map));
    if (m_findBar)
        m_findBar->setBytesAvailable(false); // until the text is in
    if (m_byteStatus)
        m_byteStatus->hide();
}

void DocumentWindow::setDirectionColors(bool on)
{
    m_highlighter->setDirectionColors(on);
}

void DocumentWindow::openFindBar()
{
    if (!m_findBar) {
        m_findBar = new FindBar(this);
        m_findBar->setBytesAvailable(!m_view->isLoading() && !m_highlighter->cells().isEmpty());
        static_cast<QVBoxLayout *>(layout())->insertWidget(1, m_findBar);
        connect(m_findBar, &FindBar::findRequested, this, &DocumentWindow::findAgain);
        connect(m_findBar, &FindBar::closeRequested, this, &DocumentWindow::closeFindBar);
    }
    m_findBar->open();
}

void DocumentWindow::findAgain(bool backwards)
{
    if (!m_findBar || m_findBar->isHidden()) {
        openFindBar();
        if (m_findBar->text().isEmpty())
            return;
    }
    // A find counts and wraps over the whole text: it runs once that is in.
    if (m_view->isLoading()) {
        m_findWhenLoaded = backwards;
        return;
    }
    LogSearch::Request request;
    request.text = m_findBar->text();
    request.bytes = m_findBar->kind() == FindBar::Kind::Bytes && !m_highlighter->cells().isEmpty();
    request.caseSensitive = m_findBar->caseSensitive();
    request.backwards = backwards;
    m_findBar->showResult(m_search->find(request));
}

void DocumentWindow::closeFindBar()
{
    m_findWhenLoaded.reset();
    m_search->clear();
    m_findBar->showResult(QString());
    m_findBar->hide();
    m_view->setFocus();
}

// The selected cells' bytes: their other cells marked, their offsets,
// count and direction in the status line.
void DocumentWindow::linkSelection()
{
    const ByteCells &cells = m_highlighter->cells();
    const QTextCursor cursor = m_view->textCursor();
    const auto [first, last] = cursor.hasSelection() && !cells.isEmpty()
        ? cells.bytesIn(cursor.selectionStart(), cursor.selectionEnd())
        : std::pair<qint32, qint32>{0, 0};
    if (first == last) {
        m_highlighter->mark(ByteHighlighter::Linked, {});
        if (m_byteStatus)
            m_byteStatus->hide();
        return;
    }
    if (!m_byteStatus) {
        m_byteStatus = new QLabel(this);
        m_byteStatus->setObjectName(QStringLiteral("byteStatus"));
        m_byteStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_byteStatus->setContentsMargins(4, 1, 4, 1);
        layout()->addWidget(m_byteStatus);
    }
    m_highlighter->mark(ByteHighlighter::Linked, {{first, std::min(last, first + maxLinkedMarks)}});
    m_byteStatus->setText(viewtexts::selectedBytes(first, last - 1, directionOf(cells, first, last)));
    m_byteStatus->show();
}

// Text typed into or pasted into a rendering moves the cells after it,
// also while the rest of it is still loading: the text still to come is
// inserted after the edit, where its cells have moved.
// (Colouring changes formats only: as many characters go as come.)
void DocumentWindow::textChanged(int position, int removed, int added)
{
    if (removed == added || m_view->isLoadChange() || m_highlighter->cells().isEmpty())
        return;
    m_highlighter->followEdit(position, removed, added);
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
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
