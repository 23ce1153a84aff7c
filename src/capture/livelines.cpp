#include "livelines.h"

#include "texts.h"

#include <algorithm>

namespace ferrox {

void LiveCell::appendText(QString &text) const
{
    switch (form) {
    case Form::Hex: appendLiveByte(text, value, LiveDisplay::Hex); break;
    case Form::Text: appendLiveByte(text, value, LiveDisplay::Text); break;
    case Form::PortError: text += CaptureTexts::simpleMonitorPortError(); break;
    }
}


int LiveCell::columns() const
{
    switch (form) {
    case Form::Hex: return 3;
    case Form::Text: return CaptureTexts::liveControlName(value).isEmpty() ? 1 : 5;
    case Form::PortError: return static_cast<int>(CaptureTexts::simpleMonitorPortError().size());
    }
    return 1;
}

LiveLines::LiveLines(qsizetype keptCells, qsizetype heldCells, QObject *parent)
    : QObject(parent), m_keptCells(std::max<qsizetype>(keptCells, 1)), m_heldCells(std::max(heldCells, m_keptCells))
{
}

void LiveLines::setColumns(int columns)
{
    columns = std::max(columns, 1);
    if (columns == m_columns)
        return;
    m_columns = columns;
    rewrap();
    emit changed();
}

void LiveLines::clear()
{
    m_header.clear();
    m_droppedCells = endCell();
    m_cells.clear();
    m_lineStarts.clear();
    m_lastLineColumns = 0;
    m_held = false;
    emit changed();
}

void LiveLines::setHeader(const QString &text)
{
    m_header = text;
    emit changed();
}

void LiveLines::append(std::span<const LiveCell> cells)
{
    if (cells.empty())
        return;
    for (const LiveCell &cell : cells) {
        place(cell, endCell());
        m_cells.push_back(cell);
        if (cell.form != LiveCell::Form::PortError)
            ++m_bytesAppended;
    }
    trim();
    emit changed();
}

void LiveLines::place(const LiveCell &cell, qint64 number)
{
    const int width = cell.columns();
    if (m_lineStarts.empty() || m_lastLineColumns + width > m_columns) {
        m_lineStarts.push_back(number);
        m_lastLineColumns = 0;
    }
    m_lastLineColumns += width;
}

void LiveLines::rewrap()
{
    m_lineStarts.clear();
    m_lastLineColumns = 0;
    qint64 number = m_droppedCells;
    for (const LiveCell &cell : m_cells)
        place(cell, number++);
}

void LiveLines::trim()
{
    const qsizetype bound = m_held ? m_heldCells : m_keptCells;
    // Whole lines go, and never the line being filled.
    while (static_cast<qsizetype>(m_cells.size()) > bound && m_lineStarts.size() > 1) {
        const qsizetype count = lineEnd(0);
        m_cells.erase(m_cells.begin(), m_cells.begin() + count);
        m_droppedCells += count;
        m_lineStarts.pop_front();
    }
    if (m_held)
        m_heldCell = std::max(m_heldCell, m_droppedCells);
}

qsizetype LiveLines::lineEnd(qsizetype line) const
{
    const auto next = static_cast<std::size_t>(line + 1);
    return next < m_lineStarts.size() ? static_cast<qsizetype>(m_lineStarts[next] - m_droppedCells)
                                      : static_cast<qsizetype>(m_cells.size());
}

QString LiveLines::lineText(qsizetype line) const
{
    QString text;
    forEachCell(line, [&text](const LiveCell &cell) { cell.appendText(text); });
    return text;
}

qsizetype LiveLines::lineOfCell(qint64 cell) const
{
    if (m_lineStarts.empty())
        return 0;
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), cell);
    return after == m_lineStarts.begin() ? 0 : static_cast<qsizetype>(after - m_lineStarts.begin()) - 1;
}

QString LiveLines::text(qint64 from, qint64 to) const
{
    from = std::max(from, m_droppedCells);
    to = std::min(to, endCell());
    QString text;
    for (qint64 i = from; i < to; ++i)
        m_cells[static_cast<std::size_t>(i - m_droppedCells)].appendText(text);
    return text;
}

void LiveLines::hold(qint64 cell)
{
    m_held = true;
    m_heldCell = std::clamp(cell, m_droppedCells, endCell());
}

void LiveLines::release()
{
    if (!m_held)
        return;
    m_held = false;
    trim();
    emit changed();
}

} // namespace ferrox
