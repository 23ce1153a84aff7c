#include "frametablemodel.h"

#include "frames/framecharacters.h"
#include "frames/frameformat.h"
#include "frames/responsechart.h"
#include "frames/texts.h"
#include "timeline/captureseries.h"

#include <algorithm>

namespace ferrox {

bool HighlightRule::matches(const Frame &frame) const
{
    FrameFilter pattern;
    pattern.bytes = bytes;
    pattern.text = text;
    return (!bytes.isEmpty() || !text.isEmpty()) && pattern.accepts(frame);
}

QString HighlightRule::typed() const
{
    return bytes.isEmpty() ? text : QStringLiteral("hex:") + bytes.hex();
}

FrameTableModel::FrameTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void FrameTableModel::setFrames(FrameList frames)
{
    m_frames = std::move(frames);
    refilter();
}

void FrameTableModel::setFilter(const FrameFilter &filter)
{
    m_filter = filter;
    refilter();
}

void FrameTableModel::setHighlightRules(QList<HighlightRule> rules)
{
    m_rules = std::move(rules);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void FrameTableModel::refilter()
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(m_frames.frames.size());
    for (qsizetype i = 0; i < m_frames.frames.size(); ++i) {
        if (m_filter.accepts(m_frames.frames.at(i)))
            m_rows.append(qint32(i));
    }
    arrange();
    endResetModel();
}

namespace {

// What a column sorts by; empty when the frame has no value there.
std::optional<qint64> sortKey(const Frame &frame, int column)
{
    switch (column) {
    case FrameTableModel::Gap: return frame.gapMicros;
    case FrameTableModel::Length: return frame.bytes.size();
    case FrameTableModel::Verdict:
        if (frame.verdict == FrameVerdict::Bad)
            return 2;
        return frame.kinds.testFlag(FrameKind::Exception) ? 1 : frame.verdict == FrameVerdict::Good ? 0 : -1;
    case FrameTableModel::Kind: return qint64(frame.kinds.toInt());
    case FrameTableModel::Response: return frame.responseMicros;
    default: return std::nullopt;
    }
}

} // namespace

void FrameTableModel::arrange()
{
    const bool keyed = m_sortColumn == Gap || m_sortColumn == Length || m_sortColumn == Verdict || m_sortColumn == Kind
        || m_sortColumn == Response;
    m_rows.removeIf([](qint32 row) { return row < 0; }); // the breaks' rows, placed anew below
    std::sort(m_rows.begin(), m_rows.end()); // frame order, which is time order
    if (keyed) {
        const bool rising = m_sortOrder == Qt::AscendingOrder;
        std::stable_sort(m_rows.begin(), m_rows.end(), [this, rising](qint32 a, qint32 b) {
            const std::optional<qint64> x = sortKey(m_frames.frames.at(a), m_sortColumn);
            const std::optional<qint64> y = sortKey(m_frames.frames.at(b), m_sortColumn);
            return rising ? x < y : y < x;
        });
    } else {
        // Frame order: each break before the first row of a frame after it.
        QList<qint32> rows;
        rows.reserve(m_rows.size() + m_frames.breaks.size());
        qsizetype next = 0;
        const auto breaksBefore = [&](qint64 frame) {
            for (; next < m_frames.breaks.size() && m_frames.breaks.at(next).beforeFrame <= frame; ++next)
                rows << qint32(-1 - next);
        };
        for (const qint32 frame : std::as_const(m_rows)) {
            breaksBefore(frame);
            rows << frame;
        }
        breaksBefore(m_frames.frames.size());
        m_rows = std::move(rows);
        if (m_sortColumn == Time && m_sortOrder == Qt::DescendingOrder)
            std::reverse(m_rows.begin(), m_rows.end());
    }
    m_rowOf.fill(-1, m_frames.frames.size());
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row) >= 0)
            m_rowOf[m_rows.at(row)] = row;
    }
}

const FrameBreak *FrameTableModel::breakAtRow(int row) const
{
    const qint32 value = m_rows.value(row, 0);
    return value < 0 ? &m_frames.breaks.at(-1 - value) : nullptr;
}

QVariant FrameTableModel::breakData(const FrameBreak &line, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        if (column == Time && line.startMicros) {
            Frame at;
            at.startMicros = line.startMicros;
            return frameTimeText(at);
        }
        return column == Summary ? QVariant(seriesGapText(line.gap)) : QVariant();
    case Qt::ToolTipRole: return seriesGapText(line.gap);
    case Qt::BackgroundRole: return QColor(0xE0, 0xE0, 0xE0);
    case Qt::TextAlignmentRole: return column == Time ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default: return {};
    }
}

void FrameTableModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<qint32> frames;
    for (const QModelIndex &index : before)
        frames << m_rows.value(index.row(), -1);
    arrange();
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOfFrame(frames.at(i)), before.at(i).column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

int FrameTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FrameTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FrameTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (const FrameBreak *line = breakAtRow(index.row()))
        return breakData(*line, index.column(), role);
    const qint32 frameIndex = m_rows.at(index.row());
    const Frame &frame = m_frames.frames.at(frameIndex);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Time: return frameTimeText(frame);
        case Gap: return frameGapText(frame);
        case Direction: return frameDirectionText(frame);
        case Length: return int(frame.bytes.size());
        case Hex: return frameHex(frame.bytes);
        case Characters: return frameCharacters(frame.bytes);
        case Summary: return frameSummaryText(m_frames, frameIndex);
        case Verdict: return frameVerdictText(frame);
        case Kind: return frameKindsText(frame.kinds);
        case Response: return frameResponseText(frame, m_frames);
        default: return {};
        }
    case Qt::ToolTipRole:
        return index.column() == Verdict ? QVariant(frameVerdictText(frame)) : QVariant();
    case Qt::ForegroundRole:
        return index.column() == Direction ? QVariant(QColor::fromRgb(directionRgb(frame.direction))) : QVariant();
    case Qt::BackgroundRole:
        for (const HighlightRule &rule : m_rules) {
            if (rule.matches(frame))
                return rule.colour;
        }
        if (frame.verdict == FrameVerdict::Bad)
            return QColor(0xFF, 0xE0, 0xE0);
        return frame.kinds.testFlag(FrameKind::Exception) ? QVariant(QColor(0xFF, 0xF4, 0xD0)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() <= Length || index.column() == Response ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                                       : QVariant();
    default:
        return {};
    }
}

QVariant FrameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return breakAtRow(section) ? QVariant() : QVariant(m_frames.firstNumber + m_rows.value(section, -1));
    const QStringList heads = FrameTexts::viewHeads();
    return heads.value(section);
}

} // namespace ferrox
