#pragma once

#include "views/bytecells.h"

#include <QColor>
#include <QSyntaxHighlighter>
#include <QTimer>

#include <cstdint>
#include <limits>
#include <vector>

namespace ferrox {

class LogTextView;

// Colours a log window's text by its byte cells, on screen only: J1's and
// J2's cells in their direction colours (when switched on), found bytes
// and the bytes linked to the selection on a background of their own.
// The formats live in the text layout, not in the document, so saving,
// copying and printing see the text as it was rendered.
//
// A window colours only the lines it shows (and a page around them, see
// setShownBlocks), so a full rendering loads and scrolls at the speed of
// plain text; a highlighter left without shown blocks colours every line
// (a printout's). A window without cells costs nothing.
class ByteHighlighter : public QSyntaxHighlighter
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

    explicit ByteHighlighter(QTextDocument *document);

    // Cells of the text about to be loaded; empty ones switch colouring off.
    // A text that starts at the cells' position `offset` (a printed
    // selection) is coloured from there.
    void setCells(ByteCells cells, qint32 offset = 0);
    const ByteCells &cells() const { return m_cells; }

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

protected:
    void highlightBlock(const QString &text) override;

private:
    void rehighlightBytes(const std::vector<qint32> &bytes);
    void showBlocksNear(const LogTextView &view);

    ByteCells m_cells;
    std::vector<std::uint8_t> m_marks; // per byte, Mark bits
    bool m_directionColors = false;
    qint32 m_offset = 0;
    int m_firstShown = 0;
    int m_lastShown = std::numeric_limits<int>::max();
    QTimer m_screenTimer;
    // By line number, lines coloured for the present cells, colours and
    // marks. The numbers hold: an edit that adds or removes characters
    // drops the cells.
    std::vector<bool> m_coloured;
};

} // namespace ferrox
