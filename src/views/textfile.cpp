#include "textfile.h"

#include "views/logtext.h"

#include <QFile>
#include <QFileInfo>

namespace ferrox {

TextFileRead readTextFile(const QString &path, qint64 maxBytes)
{
    TextFileRead result;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir()) {
        result.status = TextFileRead::Status::Missing;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = TextFileRead::Status::Unreadable;
        result.reason = file.errorString();
        return result;
    }
    if (file.size() > maxBytes) {
        result.status = TextFileRead::Status::TooBig;
        return result;
    }
    // Read one byte past the limit: a device whose size is unknown
    // still cannot bring in more than that.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = TextFileRead::Status::Unreadable;
        result.reason = file.errorString();
        result.bytes.clear();
    } else if (result.bytes.size() > maxBytes) {
        result.status = TextFileRead::Status::TooBig;
        result.bytes.clear();
    } else if (looksBinary(result.bytes)) {
        result.status = TextFileRead::Status::NotText;
        result.bytes.clear();
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
