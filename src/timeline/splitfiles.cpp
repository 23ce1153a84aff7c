#include "splitfiles.h"

#include "data/sidecar.h"

#include <QFile>
#include <QFileInfo>

namespace ferrox {

SplitFiles::SplitFiles(const QString &dataPath, int keepFiles)
    : m_keep(keepFiles)
{
    const QFileInfo info(dataPath);
    const QString suffix = info.suffix();
    const qsizetype cut = suffix.isEmpty() || info.completeBaseName().isEmpty() ? dataPath.size()
                                                                                : dataPath.size() - suffix.size() - 1;
    m_base = dataPath.first(cut);
    m_suffix = dataPath.sliced(cut);
}

QString SplitFiles::pieceName(qint64 number) const
{
    return m_base + QStringLiteral("-%1").arg(number, 5, 10, QLatin1Char('0')) + m_suffix;
}

QString SplitFiles::collision() const
{
    const QString first = pieceName(1);
    return QFileInfo::exists(first) ? first : QString();
}

FileWriteResult SplitFiles::write(const StreamSplitter::Piece &piece)
{
    const QString path = pieceName(m_written + 1);
    const FileWriteResult data = writeFileAtomically(path, piece.stream);
    if (!data.ok)
        return data;
    ++m_written;
    if (m_keep > 0 && m_written > m_keep) {
        const QString leaving = pieceName(m_written - m_keep);
        QFile::remove(sidecarPath(leaving));
        QFile::remove(leaving);
    }
    // Without its sidecar the data file is still whole: it opens without times.
    return writeSidecar(path, piece.times);
}

} // namespace ferrox
