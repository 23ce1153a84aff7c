#include "splitfiles.h"

#include "data/capturestore.h"
#include "data/sidecar.h"
#include "files/fileaccess.h"

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
    const qsizetype slash = m_base.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : m_base.first(std::max<qsizetype>(slash, 1));
    const QString stem = m_base.sliced(slash + 1) + u'-';
    QStringList found;
    for (const QString &name : folderEntries(folder)) {
        if (isPieceName(name, stem) || (name.endsWith(QLatin1String(".times")) && isPieceName(name.chopped(6), stem)))
            found << name;
    }
    if (found.isEmpty())
        return {};
    found.sort();
    return m_base.first(slash + 1) + found.constFirst();
}

bool SplitFiles::isPieceName(const QString &name, const QString &stem) const
{
    if (!name.startsWith(stem) || !name.endsWith(m_suffix))
        return false;
    const QStringView number = QStringView(name).sliced(stem.size(), name.size() - stem.size() - m_suffix.size());
    return number.size() >= 5 && std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

FileWriteResult SplitFiles::write(const StreamSplitter::Piece &piece)
{
    CaptureFiles files;
    files.dataPath = pieceName(m_written + 1);
    const StoredCapture stored = storeCapture({CaptureBuffer::fromStream(piece.stream), {}, piece.times}, files);
    if (!stored.dataWritten)
        return {stored.empty, stored.failures.value(0)};
    ++m_written;
    if (m_keep > 0 && m_written > m_keep) {
        const QString leaving = pieceName(m_written - m_keep);
        removeFile(sidecarPath(leaving));
        removeFile(leaving);
    }
    // Without its sidecar the data file is still whole: it opens without times.
    return {stored.failures.isEmpty(), stored.failures.value(0)};
}

} // namespace ferrox
