#pragma once

#include "frames/framefilter.h"
#include "frames/framer.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>

#include <algorithm>

namespace ferrox {

// A highlight rule of the frame view: frames holding the byte pattern, or
// whose characters or summary hold the text, get the colour as their
// background.
struct HighlightRule
{
    BytePattern bytes;
    QString text;
    QColor colour;

    bool matches(const Frame &frame) const;
    // The pattern as the filter bar takes it: "hex:0183" or the text.
    QString typed() const;
    bool samePattern(const HighlightRule &other) const { return bytes == other.bytes && text == other.text; }
    friend bool operator==(const HighlightRule &, const HighlightRule &) = default;
};

// The frames of one decoding as table rows: time, gap, direction (in the
// direction colours), length, verdict (its whole text also as the
// tooltip), kinds, response time, summary, hex and characters. A
// filter chooses the rows; failed frames show on a pale red, exception
// responses on a pale yellow, highlighted ones on their rule's colour
// (the first rule that matches). Frames of a series' files have a grey row
// for each break between them (a lost link with its start and end, missing
// files) where the rows are in frame order (by time, or unsorted), whatever
// the filter.
class FrameTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Gap, Direction, Length, Verdict, Kind, Response, Summary, Hex, Characters, ColumnCount };

    explicit FrameTableModel(QObject *parent = nullptr);

    void setFrames(FrameList frames);
    const FrameList &frames() const { return m_frames; }
    void setFilter(const FrameFilter &filter);
    void setHighlightRules(QList<HighlightRule> rules);

    // The row showing frame `frame`, or -1 when the filter hides it.
    int rowOfFrame(qint32 frame) const { return m_rowOf.value(frame, -1); }
    // The frame a row shows; -1 for a break's row.
    qint32 frameAtRow(int row) const { return std::max(m_rows.value(row, -1), -1); }
    // The break a row shows; null for a frame's row.
    const FrameBreak *breakAtRow(int row) const;
    const FrameFilter &filter() const { return m_filter; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Time, gap, length, verdict (NG, then exceptions, then OK), kinds and
    // response time sort; frames without the value come first in rising
    // order; equal values keep the frames' order. Other columns keep it.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void refilter();
    void arrange(); // m_rows in the sort order, m_rowOf after it
    QVariant breakData(const FrameBreak &line, int column, int role) const;

    FrameList m_frames;
    FrameFilter m_filter;
    QList<HighlightRule> m_rules;
    QList<qint32> m_rows;  // frame index of each row; -1 - b for the row of break b
    QList<int> m_rowOf;    // row of each frame, -1 when hidden
    int m_sortColumn = Time;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace ferrox
