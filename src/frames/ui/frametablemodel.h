#pragma once

#include "frames/framefilter.h"
#include "frames/framer.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>

namespace ferrox {

// A highlight rule of the frame view: frames holding the byte pattern, or
// whose characters or summary hold the text, get the colour as their
// background.
struct HighlightRule
{
    QByteArray bytes;
    QString text;
    QColor colour;

    bool matches(const Frame &frame) const;
    friend bool operator==(const HighlightRule &, const HighlightRule &) = default;
};

// The frames of one decoding as table rows: time, gap, direction (in the
// direction colours), length, hex, characters, summary and verdict. A
// filter chooses the rows; failed frames show on a pale red, exception
// responses on a pale yellow, highlighted ones on their rule's colour
// (the first rule that matches).
class FrameTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Gap, Direction, Length, Hex, Characters, Summary, Verdict, ColumnCount };

    explicit FrameTableModel(QObject *parent = nullptr);

    void setFrames(FrameList frames);
    const FrameList &frames() const { return m_frames; }
    void setFilter(const FrameFilter &filter);
    void setHighlightRules(QList<HighlightRule> rules);

    // The row showing frame `frame`, or -1 when the filter hides it.
    int rowOfFrame(qint32 frame) const;
    qint32 frameAtRow(int row) const { return m_rows.value(row, -1); }
    const FrameFilter &filter() const { return m_filter; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void refilter();

    FrameList m_frames;
    FrameFilter m_filter;
    QList<HighlightRule> m_rules;
    QList<qint32> m_rows; // frame index of each row
};

} // namespace ferrox
