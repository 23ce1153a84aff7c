#pragma once

#include "views/bytecells.h"

#include <QColor>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <limits>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace ferrox {

class LogTextView;

// Colours a log window's text by its byte cells, on screen only: J1's and
// J2's cells in their direction colours (when switched on), found bytes
// and the bytes linked to the selection on a background of their own.
// The formats live in the lines' layouts, not in the document, so saving
// and copying see the text as it was rendered.
//
// A window colours only the lines near its screen (setShownBlocks), so a
// full rendering loads and scrolls at the speed of plain text: nothing
// runs per line as the text arrives. A highlighter never told which lines
// are shown colours them all (a printout's).
class ByteHighlighter : public QObject
{
    Q_OBJECT

public:
    // Dark enough for the log's white background (contrast above 4.5:1,
    // on the mark backgrounds too), told apart by people with any of the
    // common colour-vision deficiencies: a blue and an orange-red.
    static QColor j1Color() { return QColor(0x00, 0x60, 0x9A); }
    static QColor j2Color() { return QColor(0xA0, 0x40, 0x00); }
    static QColor matchBackground() { return QColor(0xFF, 0xF0, 0x80); }
    static QColor linkedBackground() { return QColor(0xE6, 0xE6, 0xE6); }

    // A child of the document it colours.
    explicit ByteHighlighter(QTextDocument *document);

    // Cells of the text about to be loaded; empty ones switch colouring off.
    // A text that starts at the cells' position `offset` (a printed
    // selection) is coloured from there.
    void setCells(ByteCells cells, qint32 offset = 0);
    const ByteCells &cells() const { return m_cells; }

    // Text inserted or removed at `position` (a signal readout pasted,
    // typing): the cells after it move with their text, the ones it reached
    // into are gone, the rest keep their colours.
    void followEdit(int position, int removed, int added);

    void setDirectionColors(bool on);
    bool directionColors() const { return m_directionColors; }

    // Bytes [first, last) as found or linked; an empty range clears.
    enum Mark : std::uint8_t { Found = 1, Linked = 2 };
    void mark(Mark kind, const std::vector<std::pair<qint32, qint32>> &ranges);
    bool isMarked(qint32 byte, Mark kind) const;

    // Lines [first, last] by number are on screen: they are coloured now,
    // lines outside stay as they are until they are shown.
    void setShownBlocks(int first, int last);
    // Keeps the shown lines those near the view's screen: at once when it
    // scrolls, so no line shows uncoloured, and once per turn of the event
    // loop after other changes (text, size).
    void followScreen(LogTextView &view);

private:
    void showBlocksNear(const LogTextView &view);
    void contentsChanged(int from, int removed, int added);
    void colourBlock(QTextBlock block);
    // Every line's colours again: the cells or the colours changed.
    void recolour();
    bool wanted(int blockNumber) const { return blockNumber >= m_firstShown && blockNumber <= m_lastShown; }

    QTextDocument *m_document;
    ByteCells m_cells;
    std::vector<std::uint8_t> m_marks; // per byte, Mark bits
    bool m_directionColors = false;
    qint32 m_offset = 0;
    int m_firstShown = 0;
    int m_lastShown = std::numeric_limits<int>::max();
    bool m_applying = false; // our own layout changes are no text changes
    QTimer m_screenTimer;
};

} // namespace ferrox
