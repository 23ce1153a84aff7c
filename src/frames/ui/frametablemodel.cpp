#include "frametablemodel.h"

#include "frames/framecharacters.h"
#include "frames/frameformat.h"
#include "frames/responsechart.h"
#include "frames/texts.h"

namespace ferrox {

bool HighlightRule::matches(const Frame &frame) const
{
    if (!bytes.isEmpty())
        return frame.bytes.contains(bytes);
    return !text.isEmpty()
        && (frame.summary.contains(text, Qt::CaseInsensitive) || frameCharacters(frame.bytes).contains(text, Qt::CaseInsensitive));
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
    endResetModel();
}

int FrameTableModel::rowOfFrame(qint32 frame) const
{
    const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), frame);
    return found != m_rows.end() && *found == frame ? int(found - m_rows.begin()) : -1;
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
        case Summary: return frameSummaryText(frame, frameIndex);
        case Verdict: return frameVerdictText(frame);
        default: return {};
        }
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
        return index.column() <= Length ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
        return {};
    }
}

QVariant FrameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return m_rows.value(section, -1) + 1;
    const QStringList heads = FrameTexts::viewHeads();
    return heads.value(section);
}

} // namespace ferrox
