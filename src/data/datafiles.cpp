#include "datafiles.h"

#include "texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ferrox {

bool FileExists(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    // Renaming over a file ignores its permissions; a read-only file stays.
    if (info.exists() && (info.isDir() || !(info.permissions() & QFileDevice::WriteOwner)))
        return {false, DataTexts::fileUnwritable(path, DataTexts::readOnlyFile())};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, DataTexts::fileUnwritable(path, file.errorString())};
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, DataTexts::fileUnwritable(path, reason)};
    }
    if (!file.commit())
        return {false, DataTexts::fileUnwritable(path, file.errorString())};
    return {true, {}};
}

FileWriteResult StoreMonitorData(const CaptureBuffer &capture, const QString &path)
{
    return writeFileAtomically(path, capture.stream());
}

LoadResult LoadMonitorData(const QString &path)
{
    LoadResult result;
    QFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        result.message = DataTexts::dataFileUnreadable(path, file.errorString());
        return result;
    }
    // One byte more than the buffer holds tells a file that fits from one
    // that has to be cut.
    const QByteArray bytes = file.read(CaptureBuffer::Size + 1);
    if (file.error() != QFileDevice::NoError) {
        result.message = DataTexts::dataFileUnreadable(path, file.errorString());
        return result;
    }
    if (bytes.isEmpty()) {
        result.status = LoadResult::Status::Empty;
        result.message = DataTexts::dataFileEmpty(path);
        return result;
    }
    result.capture = CaptureBuffer::fromStream(bytes);
    if (CaptureBuffer::fitsStream(bytes.size())) {
        result.status = LoadResult::Status::Loaded;
    } else {
        result.status = LoadResult::Status::Cut;
        result.message = DataTexts::dataFileCut(CaptureBuffer::Size);
    }
    return result;
}

} // namespace ferrox
