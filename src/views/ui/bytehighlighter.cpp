#include "bytehighlighter.h"

#include "views/ui/logtextview.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace ferrox {

namespace {

// The sign a line carries once coloured (with formats or with none to
// draw): only such lines are cleared when the colours change.
struct ColouredLine : QTextBlockUserData
{
};

} // namespace

ByteHighlighter::ByteHighlighter(QTextDocument *document) : QObject(document), m_document(document)
{
    connect(document, &QTextDocument::contentsChange, this, &ByteHighlighter::contentsChanged);
}

void ByteHighlighter::setCells(ByteCells cells, qint32 offset)
{
    m_cells = std::move(cells);
    m_offset = offset;
    m_marks.assign(size_t(m_cells.size()), 0);
    recolour();
}

void ByteHighlighter::setDirectionColors(bool on)
{
    if (on == m_directionColors)
        return;
    m_directionColors = on;
    recolour();
}

void ByteHighlighter::mark(Mark kind, const std::vector<std::pair<qint32, qint32>> &ranges)
{
    std::vector<qint32> changed;
    for (size_t i = 0; i < m_marks.size(); ++i) {
        if (m_marks[i] & kind) {
            m_marks[i] &= ~kind;
            changed.push_back(qint32(i));
        }
    }
    for (const auto &[first, last] : ranges) {
        for (qint32 i = std::max(first, 0); i < last && i < qint32(m_marks.size()); ++i) {
            if (!(m_marks[size_t(i)] & kind)) {
                m_marks[size_t(i)] |= kind;
                changed.push_back(i);
            }
        }
    }
    // Each line holding a cell of these bytes, once.
    std::vector<int> lines;
    for (const qint32 i : changed) {
        const ByteCells::Byte &b = m_cells.bytes()[size_t(i)];
        if (b.hexEnd > b.hexStart)
            lines.push_back(m_document->findBlock(b.hexStart - m_offset).blockNumber());
        if (b.charEnd > b.charStart)
            lines.push_back(m_document->findBlock(b.charStart - m_offset).blockNumber());
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    for (const int n : lines)
        colourBlock(m_document->findBlockByNumber(n));
}

bool ByteHighlighter::isMarked(qint32 byte, Mark kind) const
{
    return byte >= 0 && byte < qint32(m_marks.size()) && (m_marks[size_t(byte)] & kind);
}

void ByteHighlighter::setShownBlocks(int first, int last)
{
    m_firstShown = first;
    m_lastShown = last;
    if (m_cells.isEmpty())
        return;
    QTextBlock block = m_document->findBlockByNumber(first);
    for (int n = first; n <= last && block.isValid(); ++n, block = block.next()) {
        if (!block.userData())
            colourBlock(block);
    }
}

void ByteHighlighter::followScreen(LogTextView &view)
{
    m_screenTimer.setSingleShot(true);
    m_screenTimer.setInterval(0);
    const auto now = [this, &view] { showBlocksNear(view); };
    connect(&m_screenTimer, &QTimer::timeout, this, now);
    connect(&view, &LogTextView::textLoaded, this, now);
    // A scroll (dy) shows new lines before they are painted; other changes
    // are gathered for the next turn of the event loop.
    connect(&view, &QPlainTextEdit::updateRequest, this, [this, now](const QRect &, int dy) {
        if (dy != 0)
            now();
        else if (!m_screenTimer.isActive())
            m_screenTimer.start();
    });
    now();
}

void ByteHighlighter::showBlocksNear(const LogTextView &view)
{
    const auto [first, last] = view.blocksNearScreen();
    setShownBlocks(first, last);
}

// The line where the change starts may carry colours for its old text;
// lines it adds are coloured when shown. A load step that appends below
// the screen costs one look at one line.
void ByteHighlighter::contentsChanged(int from, int, int added)
{
    if (m_applying || m_cells.isEmpty())
        return;
    QTextBlock block = m_document->findBlock(from);
    const int end = from + added;
    for (int n = block.blockNumber(); block.isValid() && block.position() <= end; ++n, block = block.next()) {
        if (block.userData() || wanted(n))
            colourBlock(block);
        else if (n > m_lastShown)
            break;
    }
}

void ByteHighlighter::followEdit(int position, int removed, int added)
{
    m_cells.followEdit(position, removed, added);
    // The edited line was coloured by the cells as they were.
    contentsChanged(position, removed, added);
}

void ByteHighlighter::recolour()
{
    m_applying = true;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        if (block.userData()) {
            block.setUserData(nullptr);
            if (!block.layout()->formats().isEmpty()) {
                block.layout()->clearFormats();
                m_document->markContentsDirty(block.position(), block.length());
            }
        }
    }
    m_applying = false;
    setShownBlocks(m_firstShown, m_lastShown);
}

void ByteHighlighter::colourBlock(QTextBlock block)
{
    if (!block.isValid() || m_cells.isEmpty())
        return;
    const qint32 blockStart = block.position() + m_offset;
    const qint32 blockEnd = blockStart + block.length() - 1;
    QList<QTextLayout::FormatRange> ranges;
    const auto &spans = m_cells.spans();
    for (auto it = m_cells.spanAtOrAfter(blockStart); it != spans.end() && it->start < blockEnd; ++it) {
        const ByteCells::Byte &b = m_cells.bytes()[size_t(it->byte)];
        const std::uint8_t marks = m_marks[size_t(it->byte)];
        if (!marks && !m_directionColors)
            continue;
        QTextLayout::FormatRange range;
        if (m_directionColors && b.sender != Direction::None)
            range.format.setForeground(b.sender == Direction::J1 ? j1Color() : j2Color());
        if (marks & Found)
            range.format.setBackground(matchBackground());
        else if (marks & Linked)
            range.format.setBackground(linkedBackground());
        range.start = std::max(it->start, blockStart) - blockStart;
        range.length = std::min(it->end, blockEnd) - blockStart - range.start;
        ranges.append(range);
    }
    const bool had = block.userData() != nullptr;
    if (!had)
        block.setUserData(new ColouredLine);
    if (ranges.isEmpty() && block.layout()->formats().isEmpty())
        return; // nothing to draw, but looked at
    m_applying = true;
    block.layout()->setFormats(ranges);
    m_document->markContentsDirty(block.position(), block.length());
    m_applying = false;
}

} // namespace ferrox
