#include "livelinesview.h"

#include "capture/livelines.h"
#include "capture/texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ferrox {

LiveLinesView::LiveLinesView(LiveLines &lines, QWidget *parent) : QAbstractScrollArea(parent), m_lines(lines)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    // The viewport's paint and the scroll bar's cover their whole areas:
    // what lies behind them (the window's frame, the workspace) need not be
    // painted again at each frame.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_frame.setSingleShot(true);
    m_frame.setInterval(FrameMs);
    connect(&m_frame, &QTimer::timeout, this, &LiveLinesView::frame);
    connect(&lines, &LiveLines::changed, this, &LiveLinesView::scheduleFrame);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &LiveLinesView::userScrolled);
    measureFont();
    scheduleFrame();
}

void LiveLinesView::setDirectionColors(bool on, const QColor &j1, const QColor &j2)
{
    m_directionColors = on;
    m_j1 = j1;
    m_j2 = j2;
    restyle();
}

void LiveLinesView::restyle()
{
    m_painted.clear();
    repaintWhole();
}

void LiveLinesView::repaintWhole()
{
    m_shownFirstCells.clear();
    viewport()->update();
}

void LiveLinesView::measureFont()
{
    const QFontMetrics metrics = fontMetrics();
    m_columnWidth = std::max(1, metrics.horizontalAdvance(u'0'));
    m_wrappedWidth = -1; // the header wraps again
    m_lineHeight = std::max(1, metrics.height());
}

void LiveLinesView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    measureFont();
    m_painted.clear();
    m_lines.setColumns(viewport()->width() / m_columnWidth);
    m_shownFirstCells.clear();
    scheduleFrame();
}

void LiveLinesView::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_watchedWindow == window())
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = window();
    if (m_watchedWindow != this)
        m_watchedWindow->installEventFilter(this);
}

bool LiveLinesView::eventFilter(QObject *watched, QEvent *event)
{
    // The window is about to paint what changed in it: the lines waiting
    // for the next frame go in the same paint.
    if (watched == m_watchedWindow && event->type() == QEvent::UpdateRequest && m_frame.isActive()) {
        m_frame.stop();
        frame();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

const QStringList &LiveLinesView::headerLines() const
{
    // Wrapped by the pixel widths of its characters (full-width ones need
    // not be two grid columns); again only when the text or the width changed.
    const int width = viewport()->width();
    if (m_wrappedHeader == m_lines.header() && m_wrappedWidth == width)
        return m_headerLines;
    m_wrappedHeader = m_lines.header();
    m_wrappedWidth = width;
    m_headerLines.clear();
    const QFontMetrics metrics = fontMetrics();
    QString line;
    int used = 0;
    for (const QChar c : m_wrappedHeader) {
        const int advance = metrics.horizontalAdvance(c);
        if (c == u'\n' || (used + advance > width && !line.isEmpty())) {
            m_headerLines << std::exchange(line, QString());
            used = 0;
        }
        if (c != u'\n') {
            line += c;
            used += advance;
        }
    }
    if (!line.isEmpty())
        m_headerLines << line;
    m_headerTexts.clear();
    for (const QString &text : std::as_const(m_headerLines)) {
        m_headerTexts << shaped(text);
    }
    return m_headerLines;
}

int LiveLinesView::headerRows() const
{
    return static_cast<int>(headerLines().size());
}

int LiveLinesView::bodyRows() const
{
    return std::max(1, viewport()->height() / lineHeight() - headerRows());
}

qsizetype LiveLinesView::topLine() const
{
    if (m_lines.isHeld())
        return m_lines.lineOfCell(m_lines.heldCell());
    return std::max<qsizetype>(0, m_lines.lineCount() - bodyRows());
}

void LiveLinesView::scheduleFrame()
{
    if (!m_frame.isActive())
        m_frame.start();
}

void LiveLinesView::frame()
{
    QScrollBar *bar = verticalScrollBar();
    m_settingScroll = true;
    bar->setPageStep(bodyRows());
    bar->setRange(0, static_cast<int>(std::max<qsizetype>(0, m_lines.lineCount() - bodyRows())));
    bar->setValue(static_cast<int>(topLine()));
    m_settingScroll = false;
    updateChangedRows();
}

void LiveLinesView::updateChangedRows()
{
    const int height = lineHeight();
    const int bodyTop = headerRows() * height;
    const qsizetype top = topLine();
    const auto kept = m_lines.isHeld() || bodyTop != m_shownBodyTop || top >= m_lines.lineCount()
        ? m_shownFirstCells.cend()
        : std::find(m_shownFirstCells.cbegin(), m_shownFirstCells.cend(), m_lines.firstCellOfLine(top));
    if (kept == m_shownFirstCells.cend()) {
        repaintWhole();
        return;
    }
    const int shift = static_cast<int>(kept - m_shownFirstCells.cbegin());
    const int width = viewport()->width();
    if (shift > 0)
        viewport()->scroll(0, -shift * height, QRect(0, bodyTop, width, bodyRows() * height));
    const int firstChanged = static_cast<int>(m_shownFirstCells.size()) - 1 - shift;
    viewport()->update(QRect(0, bodyTop + firstChanged * height, width, viewport()->height()));
}

void LiveLinesView::userScrolled(int value)
{
    if (m_settingScroll)
        return;
    if (value >= verticalScrollBar()->maximum())
        m_lines.release();
    else
        m_lines.hold(m_lines.firstCellOfLine(value));
    repaintWhole();
}

void LiveLinesView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_lines.setColumns(viewport()->width() / columnWidth());
    m_shownFirstCells.clear();
    scheduleFrame();
}

void LiveLinesView::paintEvent(QPaintEvent *event)
{
    const QRect dirty = event->rect();
    QPainter painter(viewport());
    painter.fillRect(dirty, palette().base());
    painter.setPen(palette().text().color());
    const int height = lineHeight();
    const QStringList &header = headerLines();
    for (int row = 0; row < m_headerTexts.size(); ++row)
        painter.drawStaticText(0, row * height, m_headerTexts.at(row));
    const int bodyTop = static_cast<int>(header.size()) * height;
    if (!header.isEmpty()) {
        painter.setPen(palette().mid().color());
        painter.drawLine(0, bodyTop - 1, viewport()->width(), bodyTop - 1);
    }
    const qsizetype top = topLine();
    const qsizetype shown = std::min<qsizetype>(bodyRows(), m_lines.lineCount() - top);
    QHash<qint64, PaintedLine> painted;
    painted.reserve(shown);
    m_shownFirstCells.clear();
    m_shownBodyTop = bodyTop;
    for (qsizetype row = 0; row < shown; ++row) {
        const qint64 first = m_lines.firstCellOfLine(top + row);
        m_shownFirstCells << first;
        const int y = bodyTop + static_cast<int>(row) * height;
        auto kept = m_painted.constFind(first);
        if (y + height <= dirty.top() || y >= dirty.bottom() + 1) {
            // Not painted now: its picture stays, and so does its layout.
            if (kept != m_painted.cend())
                painted.insert(first, *kept);
            continue;
        }
        const qint64 end = top + row + 1 < m_lines.lineCount() ? m_lines.firstCellOfLine(top + row + 1) : m_lines.endCell();
        const PaintedLine &line = *painted.insert(first, kept != m_painted.cend() && kept->end == end
                                                             ? *kept
                                                             : layOutLine(top + row));
        paintLine(painter, line, y);
    }
    m_painted.swap(painted);
    if (m_lines.isHeld())
        paintWaiting(painter, m_lines.lineCount() - top - shown);
}

QStaticText LiveLinesView::shaped(const QString &text) const
{
    QStaticText shapedText(text);
    shapedText.setTextFormat(Qt::PlainText);
    shapedText.prepare(QTransform(), font());
    return shapedText;
}

LiveLinesView::PaintedLine LiveLinesView::layOutLine(qsizetype line) const
{
    // One run per stretch of cells in one colour: every cell's text is a
    // whole number of grid columns, so a run stays on the grid.
    const QColor plain = palette().text().color();
    PaintedLine laidOut;
    QString text;
    PaintedRun run {{}, 0, 0, plain, false};
    const auto close = [&] {
        if (text.isEmpty())
            return;
        run.text = shaped(std::exchange(text, QString()));
        laidOut.runs << run;
        run.column += run.columns;
        run.columns = 0;
    };
    qint64 number = m_lines.firstCellOfLine(line);
    m_lines.forEachCell(line, [&](const LiveCell &cell) {
        const bool selected = number >= m_selectionStart && number < m_selectionEnd;
        QColor pen = plain;
        if (selected)
            pen = palette().highlightedText().color();
        else if (m_directionColors && cell.sender != Direction::None)
            pen = cell.sender == Direction::J1 ? m_j1 : m_j2;
        if (pen != run.pen || selected != run.selected) {
            close();
            run.pen = pen;
            run.selected = selected;
        }
        cell.appendText(text);
        run.columns += cell.columns();
        ++number;
    });
    close();
    laidOut.end = number;
    return laidOut;
}

void LiveLinesView::paintLine(QPainter &painter, const PaintedLine &line, int y) const
{
    const int width = columnWidth();
    for (const PaintedRun &run : line.runs) {
        if (run.selected)
            painter.fillRect(QRect(run.column * width, y, run.columns * width, lineHeight()), palette().highlight());
        painter.setPen(run.pen);
        painter.drawStaticText(run.column * width, y, run.text);
    }
}

void LiveLinesView::paintWaiting(QPainter &painter, qsizetype waitingLines) const
{
    if (waitingLines <= 0)
        return;
    const QRect strip(0, viewport()->height() - lineHeight(), viewport()->width(), lineHeight());
    painter.fillRect(strip, palette().toolTipBase());
    painter.setPen(palette().toolTipText().color());
    painter.drawText(strip, Qt::AlignRight | Qt::AlignVCenter, CaptureTexts::liveLinesWaiting(waitingLines));
}

qint64 LiveLinesView::cellAt(QPoint point) const
{
    const int row = point.y() / lineHeight() - headerRows();
    const qsizetype line = topLine() + std::max(0, row);
    if (line >= m_lines.lineCount())
        return m_lines.endCell();
    // The nearest boundary between cells.
    qint64 number = m_lines.firstCellOfLine(line);
    int column = 0;
    const double pointColumn = static_cast<double>(point.x()) / columnWidth();
    bool found = false;
    m_lines.forEachCell(line, [&](const LiveCell &cell) {
        if (found || pointColumn < column + cell.columns() / 2.0) {
            found = true;
            return;
        }
        column += cell.columns();
        ++number;
    });
    return number;
}

void LiveLinesView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_selectionAnchor = cellAt(event->position().toPoint());
    m_selectionStart = m_selectionEnd = m_selectionAnchor;
    restyle();
}

void LiveLinesView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    const qint64 cell = cellAt(event->position().toPoint());
    m_selectionStart = std::min(m_selectionAnchor, cell);
    m_selectionEnd = std::max(m_selectionAnchor, cell);
    restyle();
}

void LiveLinesView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        if (hasSelection())
            QGuiApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        m_selectionStart = m_lines.firstCell();
        m_selectionEnd = m_lines.endCell();
        restyle();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

QString LiveLinesView::selectedText() const
{
    return m_lines.text(m_selectionStart, m_selectionEnd);
}

} // namespace ferrox
