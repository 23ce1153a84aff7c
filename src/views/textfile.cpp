#include "textfile.h"

#include "views/logtext.h"

#include <cerrno>

namespace ferrox {

TextFileRead readTextFile(const QString &path, qint64 maxBytes)
{
    TextFileRead result;
    // One byte past the limit tells a text that fits from one too big.
    FileBytes file = readFileBytes(path, maxBytes + 1, FileKinds::RegularOnly);
    if (file.error == ENOENT) {
        result.status = TextFileRead::Status::Missing;
    } else if (file.error != FileErrorNone) {
        result.status = TextFileRead::Status::Unreadable;
        result.reason = fileErrorReason(file.error);
    } else if (file.bytes.size() > maxBytes) {
        result.status = TextFileRead::Status::TooBig;
    } else if (looksBinary(file.bytes)) {
        result.status = TextFileRead::Status::NotText;
    } else {
        result.bytes = std::move(file.bytes);
    }
    return result;
}

FileWriteResult writeTextFile(const QString &path, const QString &text)
{
    return writeFileAtomically(path, encodeLogText(text));
}

QString dialogFolder(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (cut < 0)
        return QString();
    return cut == 0 ? path.left(1) : path.left(cut);
}

} // namespace ferrox
