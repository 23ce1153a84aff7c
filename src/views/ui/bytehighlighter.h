#pragma once

#include "views/bytecells.h"

#include <QColor>
#include <QSyntaxHighlighter>

#include <cstdint>
#include <vector>

namespace ferrox {

// Colours a log window's text by its byte cells, on screen only: J1's and
// J2's cells in their direction colours (when switched on), found bytes
// and the bytes linked to the selection on a background of their own.
// The formats live in the text layout, not in the document, so saving,
// copying and printing see the text as it was rendered.
//
// Blocks are coloured as the text arrives, so a big rendering's cost is
// spread over its load steps; a window without cells costs nothing.
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
    void setCells(ByteCells cells);
    const ByteCells &cells() const { return m_cells; }

    void setDirectionColors(bool on);
    bool directionColors() const { return m_directionColors; }

    // Bytes [first, last) as found or linked; an empty range clears.
    enum Mark : std::uint8_t { Found = 1, Linked = 2 };
    void mark(Mark kind, const std::vector<std::pair<qint32, qint32>> &ranges);
    bool isMarked(qint32 byte, Mark kind) const;

protected:
    void highlightBlock(const QString &text) override;

private:
    void rehighlightBytes(const std::vector<qint32> &bytes);

    ByteCells m_cells;
    std::vector<std::uint8_t> m_marks; // per byte, Mark bits
    bool m_directionColors = false;
};

} // namespace ferrox
