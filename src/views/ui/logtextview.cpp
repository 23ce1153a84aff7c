#include "logtextview.h"

#include "platform/ui/appearance.h"
#include "views/logtext.h"
#include "views/ui/bytehighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPagedPaintDevice>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace ferrox {

namespace {

// The first slice of a load: more than a tall screen shows of any
// rendering (200 lines of mode 4's 80 columns), a few milliseconds' work.
constexpr qsizetype firstScreenChars = 16 * 1024;
// Nanoseconds a slice may keep the event loop: well inside what a user
// feels as a pause, even on a busy machine, where a slice can take three
// times what the last one of its size took. Each slice is one insertion
// (the view resizes its scroll bar after every one), its size following
// the time the last one took.
constexpr qint64 loadSliceNs = 8'000'000;
constexpr qsizetype minSliceChars = 4 * 1024;
constexpr qsizetype maxSliceChars = 1024 * 1024;
// The resolution a document without paint device lays out in.
constexpr int screenDpi = 96;
// Pixels between the view's edge and the text.
constexpr int textInset = 2;

QTextCharFormat formatOf(const TextStyle &style)
{
    QTextCharFormat format;
    if (style.bold)
        format.setFontWeight(QFont::Bold);
    if (style.italic)
        format.setFontItalic(true);
    if (style.underline)
        format.setFontUnderline(true);
    if (style.color)
        format.setForeground(QColor::fromRgb(QRgb(*style.color)));
    return format;
}

} // namespace

LogTextView::LogTextView(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("rtfText"));
    setFont(gothicFont(9));
    document()->setDefaultFont(gothicFont(9));
    document()->setDocumentMargin(textInset);
    setUndoRedoEnabled(false);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The strip beside a narrow wrapping width shows the text's background.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    m_loadTimer.setSingleShot(true);
    m_loadTimer.setInterval(0);
    connect(&m_loadTimer, &QTimer::timeout, this, &LogTextView::loadSlice);
    // A piece decoded while the load waits for it starts the next slice.
    connect(&m_decoder, &LogTextDecoder::ready, this, [this] {
        if (m_loading && !m_loadTimer.isActive())
            m_loadTimer.start();
    });
}

void LogTextView::appendAtCaret(const QString &text)
{
    textCursor().insertText(normalizeLineBreaks(text));
    ensureCursorVisible();
}

void LogTextView::selectFound(const QTextCursor &match)
{
    setTextCursor(match);
    ensureCursorVisible();
    m_foundAnchor = match.anchor();
    m_foundPosition = match.position();
}

bool LogTextView::hasUserSelection() const
{
    const QTextCursor cursor = textCursor();
    return cursor.hasSelection() && (cursor.anchor() != m_foundAnchor || cursor.position() != m_foundPosition);
}

void LogTextView::replaceAll(const QString &text)
{
    const bool wasLoading = m_loading;
    m_loadTimer.stop();
    m_decoder.cancel();
    m_pending.clear();
    m_loadCursor = QTextCursor();
    setLoading(false);
    setPlainText(normalizeLineBreaks(text));
    moveCursor(QTextCursor::End);
    if (wasLoading)
        emit textLoaded(); // the text replaces the one that was coming: the load is over
}

void LogTextView::loadBytes(const QByteArray &bytes, bool richText)
{
    if (richText && isRichTextFile(bytes)) {
        loadStyledText(readRtf(bytes));
        return;
    }
    m_decoder.start(bytes);
    startLoad({StyledRun{m_decoder.takeReady(), TextStyle()}});
}

void LogTextView::loadStyledText(StyledText text)
{
    m_decoder.cancel();
    startLoad(std::move(text));
}

void LogTextView::startLoad(StyledText text)
{
    m_loadTimer.stop();
    m_pending = std::move(text);
    m_runIndex = 0;
    m_offset = 0;
    m_sliceChars = minSliceChars;
    setLoading(true);
    m_loadCursor = QTextCursor(document());
    {
        // Emptied in place: the document keeps its font and margins.
        const QScopedValueRollback<bool> loading(m_loadChanging, true);
        m_loadCursor.select(QTextCursor::Document);
        m_loadCursor.removeSelectedText();
    }
    // The first screen now, with the caret at its top; the rest comes in
    // below it, the caret staying where the user puts it.
    const bool more = insertPending(firstScreenChars);
    moveCursor(QTextCursor::Start);
    continueLoad(more);
}

void LogTextView::appendPending(QString decoded)
{
    if (!decoded.isEmpty())
        m_pending.append(StyledRun{std::move(decoded), TextStyle()});
}

bool LogTextView::insertPending(qsizetype budget)
{
    const QScopedValueRollback<bool> loading(m_loadChanging, true);
    while (budget > 0 && m_runIndex < m_pending.size()) {
        const StyledRun &run = m_pending[m_runIndex];
        const qsizetype end = textPieceEnd(run.text, m_offset, budget);
        m_loadCursor.insertText(run.text.mid(m_offset, end - m_offset), formatOf(run.style));
        budget -= end - m_offset;
        m_offset = end;
        if (m_offset >= run.text.size()) {
            ++m_runIndex;
            m_offset = 0;
        }
    }
    return m_runIndex < m_pending.size();
}

// A slice that appends below the screen changes nothing shown but the
// scroll bar. The layout's signals are held meanwhile, since the view
// would repaint its whole screen after each slice, and the scroll bar is
// given the new size after.
bool LogTextView::insertSlice(qsizetype budget)
{
    if (m_loadCursor.blockNumber() <= firstVisibleBlock().blockNumber() + screenLines())
        return insertPending(budget);
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    bool more = false;
    {
        const QSignalBlocker hold(layout);
        more = insertPending(budget);
    }
    emit layout->documentSizeChanged(layout->documentSize());
    return more;
}

void LogTextView::loadSlice()
{
    appendPending(m_decoder.takeReady());
    QElapsedTimer clock;
    clock.start();
    const bool more = insertSlice(m_sliceChars);
    // At most twice as big as the last: one slow turn of a busy machine
    // does not make the next slice a long pause.
    const qint64 taken = std::max<qint64>(clock.nsecsElapsed(), 1);
    m_sliceChars = std::clamp(qsizetype(std::min<double>(2.0, double(loadSliceNs) / double(taken)) * double(m_sliceChars)),
                              minSliceChars, maxSliceChars);
    continueLoad(more);
}

void LogTextView::continueLoad(bool more)
{
    if (more)
        m_loadTimer.start();
    else if (!m_decoder.isRunning())
        endLoad();
    // else the decoder's next piece starts the next slice
}

void LogTextView::finishLoading()
{
    if (!m_loading)
        return;
    m_loadTimer.stop();
    appendPending(m_decoder.takeAll());
    while (insertPending(maxSliceChars)) {
    }
    endLoad();
}

void LogTextView::endLoad()
{
    m_loadTimer.stop();
    m_decoder.cancel();
    m_pending.clear();
    m_loadCursor = QTextCursor();
    setLoading(false);
    emit textLoaded();
}

// While a load runs, the scroll bar counts lines as in a view that
// centres on scrolling: a shown view otherwise lays out its last page
// again after every slice to find where its scroll bar ends. Meanwhile
// the last line loaded may be scrolled up to the middle of the view.
void LogTextView::setLoading(bool loading)
{
    if (loading == m_loading)
        return;
    m_loading = loading;
    if (loading) {
        m_centredBeforeLoad = centerOnScroll();
        setCenterOnScroll(true);
    } else {
        setCenterOnScroll(m_centredBeforeLoad);
    }
}

QString LogTextView::plainText()
{
    finishLoading();
    return toPlainText();
}

// Selecting all and the context menu's commands (select all, copy) mean
// the whole text, not the part loaded so far.
void LogTextView::keyPressEvent(QKeyEvent *event)
{
    if (m_loading && event->matches(QKeySequence::SelectAll))
        finishLoading();
    QPlainTextEdit::keyPressEvent(event);
}

void LogTextView::contextMenuEvent(QContextMenuEvent *event)
{
    finishLoading();
    QPlainTextEdit::contextMenuEvent(event);
}

void LogTextView::setBackgroundColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void LogTextView::setRightMargin(double twips)
{
    m_rightMarginTwips = twips > 0 ? twips : 0;
    applyWrapWidth();
}

void LogTextView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    applyWrapWidth();
}

// The plain-text layout always wraps at the viewport's width, so a
// narrower wrapping width is made by narrowing the viewport from the
// right; the strip left over shows the background.
void LogTextView::applyWrapWidth()
{
    const int available = viewport()->width() + m_viewportRightMargin;
    int margin = 0;
    if (m_rightMarginTwips > 0) {
        const int textWidth = twipsToPixelsX(m_rightMarginTwips, this) + 2 * textInset;
        margin = std::max(0, available - textWidth);
    }
    if (margin != m_viewportRightMargin) {
        m_viewportRightMargin = margin;
        setViewportMargins(0, 0, margin, 0);
    }
}

std::pair<int, int> LogTextView::blocksNearScreen() const
{
    // At least a tall screen's worth, for a view not laid out yet.
    const int page = std::max(100, screenLines());
    const int first = firstVisibleBlock().blockNumber();
    return {std::max(0, first - page), first + 2 * page};
}

int LogTextView::screenLines() const
{
    return viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 1;
}

std::unique_ptr<QTextDocument> LogTextView::printedDocument(bool selectionOnly, const ByteCells *colours)
{
    finishLoading();
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(font());
    QTextCursor cursor(doc.get());
    if (selectionOnly)
        cursor.insertFragment(textCursor().selection());
    else
        cursor.insertFragment(QTextDocumentFragment(document()));
    if (colours && !colours->isEmpty()) {
        auto *highlighter = new ByteHighlighter(doc.get()); // the document's child
        highlighter->setDirectionColors(true);
        highlighter->setCells(*colours, selectionOnly ? textCursor().selectionStart() : 0);
    }
    return doc;
}

void LogTextView::printText(QPagedPaintDevice *printer, bool selectionOnly, const ByteCells *colours)
{
    const std::unique_ptr<QTextDocument> doc = printedDocument(selectionOnly, colours);
    // A page-sized document prints as it is, without the page numbers
    // QTextDocument adds otherwise: the printout is the window's text.
    if (printer->pageLayout().margins(QPageLayout::Millimeter).isNull())
        printer->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    const double toDocument = double(screenDpi) / printer->logicalDpiX();
    doc->setPageSize(QSizeF(printer->width() * toDocument, printer->height() * toDocument));
    doc->print(printer);
}

} // namespace ferrox
