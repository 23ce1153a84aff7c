#include "datafiles.h"

#include "texts.h"

#include <cerrno>

namespace ferrox {

namespace {

FileWriteResult writeResult(const QString &path, FileError error)
{
    if (error == FileErrorNone)
        return {true, {}};
    return {false, DataTexts::fileUnwritable(path, fileErrorReason(error))};
}

} // namespace

FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    return writeResult(path, replaceFileContents(path, bytes));
}

FileWriteResult checkFileWritable(const QString &path)
{
    return writeResult(path, checkFileReplaceable(path));
}

FileWriteResult StoreMonitorData(const CaptureBuffer &capture, const QString &path)
{
    return writeFileAtomically(path, capture.stream());
}

LoadResult LoadMonitorData(const QString &path, FileKinds kinds)
{
    LoadResult result;
    // One byte more than the buffer holds tells a file that fits from one
    // that has to be cut.
    FileBytes file = readFileBytes(path, CaptureBuffer::Size + 1, kinds);
    if (file.error == ENOENT) {
        result.message = DataTexts::dataFileMissing(path);
        return result;
    }
    if (file.error != FileErrorNone) {
        result.message = DataTexts::dataFileUnreadable(path, fileErrorReason(file.error));
        return result;
    }
    if (file.bytes.isEmpty()) {
        result.status = LoadResult::Status::Empty;
        result.message = DataTexts::dataFileEmpty(path);
        return result;
    }
    const bool fits = CaptureBuffer::fitsStream(file.bytes.size());
    result.capture = CaptureBuffer::fromStream(std::move(file.bytes));
    if (fits) {
        result.status = LoadResult::Status::Loaded;
    } else {
        result.status = LoadResult::Status::Cut;
        result.message = DataTexts::dataFileCut(CaptureBuffer::Size);
    }
    return result;
}

} // namespace ferrox
