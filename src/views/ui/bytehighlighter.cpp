#include "bytehighlighter.h"

#include "views/ui/logtextview.h"

#include <QTextDocument>

#include <algorithm>

namespace ferrox {

ByteHighlighter::ByteHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

void ByteHighlighter::setCells(ByteCells cells, qint32 offset)
{
    const bool had = !m_cells.isEmpty();
    m_cells = std::move(cells);
    m_offset = offset;
    m_coloured.clear();
    m_marks.assign(size_t(m_cells.size()), 0);
    if (had)
        rehighlight();
}

void ByteHighlighter::setDirectionColors(bool on)
{
    if (on == m_directionColors)
        return;
    m_directionColors = on;
    m_coloured.clear();
    if (!m_cells.isEmpty())
        rehighlight();
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
    std::sort(changed.begin(), changed.end());
    rehighlightBytes(changed);
}

bool ByteHighlighter::isMarked(qint32 byte, Mark kind) const
{
    return byte >= 0 && byte < qint32(m_marks.size()) && (m_marks[size_t(byte)] & kind);
}

void ByteHighlighter::setShownBlocks(int first, int last)
{
    m_firstShown = first;
    m_lastShown = last;
    if (m_cells.isEmpty() || !document())
        return;
    // A line coloured again is laid out again: only those not yet coloured.
    QTextBlock block = document()->findBlockByNumber(first);
    for (int n = first; n <= last && block.isValid(); ++n, block = block.next()) {
        if (size_t(n) >= m_coloured.size() || !m_coloured[size_t(n)])
            rehighlightBlock(block);
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

// Each block holding a cell of these bytes, once.
void ByteHighlighter::rehighlightBytes(const std::vector<qint32> &bytes)
{
    QTextDocument *doc = document();
    if (!doc)
        return;
    std::vector<int> blocks;
    for (const qint32 i : bytes) {
        const ByteCells::Byte &b = m_cells.bytes()[size_t(i)];
        if (b.hexEnd > b.hexStart)
            blocks.push_back(doc->findBlock(b.hexStart - m_offset).blockNumber());
        if (b.charEnd > b.charStart)
            blocks.push_back(doc->findBlock(b.charStart - m_offset).blockNumber());
    }
    std::sort(blocks.begin(), blocks.end());
    blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
    for (const int n : blocks) {
        const QTextBlock block = doc->findBlockByNumber(n);
        if (block.isValid())
            rehighlightBlock(block);
    }
}

void ByteHighlighter::highlightBlock(const QString &text)
{
    if (m_cells.isEmpty())
        return;
    const int number = currentBlock().blockNumber();
    const bool shown = number >= m_firstShown && number <= m_lastShown;
    if (size_t(number) >= m_coloured.size())
        m_coloured.resize(size_t(number) + 1);
    m_coloured[size_t(number)] = shown;
    if (!shown)
        return;
    const qint32 blockStart = currentBlock().position() + m_offset;
    const qint32 blockEnd = blockStart + qint32(text.size());
    const auto &spans = m_cells.spans();
    for (auto it = m_cells.spanAtOrAfter(blockStart); it != spans.end() && it->start < blockEnd; ++it) {
        const ByteCells::Byte &b = m_cells.bytes()[size_t(it->byte)];
        const std::uint8_t marks = m_marks[size_t(it->byte)];
        if (!marks && !m_directionColors)
            continue;
        QTextCharFormat format;
        if (m_directionColors && b.sender != Direction::None)
            format.setForeground(b.sender == Direction::J1 ? j1Color() : j2Color());
        if (marks & Found)
            format.setBackground(matchBackground());
        else if (marks & Linked)
            format.setBackground(linkedBackground());
        const qint32 from = std::max(it->start, blockStart);
        setFormat(from - blockStart, std::min(it->end, blockEnd) - from, format);
    }
}

} // namespace ferrox
