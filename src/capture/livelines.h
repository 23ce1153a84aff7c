#pragma once

#include "liveview.h"

#include "data/streamformat.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <span>

namespace ferrox {

// One thing a live view shows: a monitored byte in the form chosen when it
// arrived, or the mark of a port error. Three bytes, so a view can hold a
// minute of a saturated link in a few megabytes.
struct LiveCell
{
    enum class Form : std::uint8_t { Hex, Text, PortError };

    std::uint8_t value = 0;
    Form form = Form::Hex;
    Direction sender = Direction::None;

    static LiveCell of(const LiveByte &byte, LiveDisplay display)
    {
        return {byte.value, display == LiveDisplay::Hex ? Form::Hex : Form::Text, byte.sender};
    }
    static LiveCell portError() { return {0, Form::PortError, Direction::None}; }

    void appendText(QString &text) const;
    // Columns of a monospaced grid: 3 for " 41", 5 for "[CR_]" and
    // "[err]", 1 for a character.
    int columns() const;
};

// The text of a live view as a bounded ring of lines on a grid of columns,
// without any widget: a frame of its view costs the cells that arrived
// plus the lines on screen, never the text held.
//
// Cells are wrapped greedily at the column width and a line breaks only
// between cells, so a hex pair or a control name is never split (a cell
// wider than the grid gets a line of its own). A header (the one-time
// warning) sits apart from the ring and never drops.
//
// Cells are numbered from the first ever appended (absolute numbers), so a
// view can keep its place while old lines drop. Old lines drop, whole,
// once the ring holds more than keptCells; while a view holds a place
// (the user scrolled up) the ring keeps up to heldCells instead, so that
// the held lines stay while newer text waits below them. Past that bound
// the oldest lines go even so, and the hold moves to the oldest line left.
class LiveLines : public QObject
{
    Q_OBJECT
public:
    static constexpr qsizetype DefaultKeptCells = 64 * 1024;
    static constexpr qsizetype DefaultHeldCells = 2 * 1024 * 1024;

    explicit LiveLines(qsizetype keptCells = DefaultKeptCells, qsizetype heldCells = DefaultHeldCells,
                       QObject *parent = nullptr);

    // Width of the grid in columns (at least 1); the held cells wrap again.
    void setColumns(int columns);
    int columns() const { return m_columns; }

    // Empties the view: header, cells and hold. Counters keep running.
    void clear();
    void setHeader(const QString &text);
    const QString &header() const { return m_header; }

    void append(std::span<const LiveCell> cells);
    void append(const LiveCell &cell) { append(std::span(&cell, 1)); }

    qsizetype lineCount() const { return static_cast<qsizetype>(m_lineStarts.size()); }
    QString lineText(qsizetype line) const;
    // The cells of a line, in order.
    template<typename Visit> void forEachCell(qsizetype line, Visit visit) const
    {
        const qsizetype end = lineEnd(line);
        for (qsizetype i = lineBegin(line); i < end; ++i)
            visit(m_cells[static_cast<std::size_t>(i)]);
    }

    // Absolute numbers of the first cell held and of the next to come.
    qint64 firstCell() const { return m_droppedCells; }
    qint64 endCell() const { return m_droppedCells + static_cast<qint64>(m_cells.size()); }
    // The line holding an absolute cell (clamped to the lines held), and
    // the absolute number of a line's first cell.
    qsizetype lineOfCell(qint64 cell) const;
    qint64 firstCellOfLine(qsizetype line) const { return m_lineStarts[static_cast<std::size_t>(line)]; }
    // The text of the held cells [from, to) in absolute numbers.
    QString text(qint64 from, qint64 to) const;

    // A view keeps its place at an absolute cell, or follows the end again.
    void hold(qint64 cell);
    void release();
    bool isHeld() const { return m_held; }
    qint64 heldCell() const { return m_heldCell; }

    // Monitored bytes appended since construction (port-error marks not
    // counted), and cells dropped from the top so far.
    qint64 bytesAppended() const { return m_bytesAppended; }
    qint64 droppedCells() const { return m_droppedCells; }

signals:
    // Cells arrived, lines dropped, or the grid changed.
    void changed();

private:
    qsizetype lineBegin(qsizetype line) const
    {
        return static_cast<qsizetype>(m_lineStarts[static_cast<std::size_t>(line)] - m_droppedCells);
    }
    qsizetype lineEnd(qsizetype line) const;
    void place(const LiveCell &cell, qint64 number);
    void rewrap();
    void trim();

    const qsizetype m_keptCells;
    const qsizetype m_heldCells;
    int m_columns = 80;
    QString m_header;
    std::deque<LiveCell> m_cells;
    std::deque<qint64> m_lineStarts; // absolute number of each line's first cell
    int m_lastLineColumns = 0;
    qint64 m_droppedCells = 0;
    qint64 m_bytesAppended = 0;
    bool m_held = false;
    qint64 m_heldCell = 0;
};

} // namespace ferrox
