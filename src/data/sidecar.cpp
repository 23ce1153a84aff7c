#include "sidecar.h"

#include "texts.h"

#include "files/fileaccess.h"

#include <cerrno>

namespace ferrox {

namespace {

// Far more than the longest sidecar of a full buffer (one line per stream
// byte at most); a larger file is no sidecar of ours.
constexpr qint64 largestSidecar = 16 * 1024 * 1024;

constexpr QByteArrayView linkLostKey = "link-lost\t";

SidecarRead ignored(const QString &reason)
{
    SidecarRead read;
    read.status = SidecarRead::Status::Ignored;
    read.note = reason;
    return read;
}

// A decimal number of digits only, as the writer writes it.
std::optional<qint64> plainNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 15)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

QString sidecarPath(const QString &dataPath)
{
    return dataPath + QStringLiteral(".times");
}

QByteArray formatSidecar(const ArrivalTimes &times)
{
    QByteArray text = times.startText().toLatin1() + '\n';
    if (times.linkLostEpochMicros)
        text += linkLostKey.toByteArray() + times.linkLostText().toLatin1() + '\n';
    text.reserve(text.size() + times.arrivals.size() * 16);
    for (const Arrival &arrival : times.arrivals) {
        text += QByteArray::number(arrival.offset);
        text += '\t';
        text += QByteArray::number(arrival.micros);
        text += '\n';
    }
    return text;
}

FileWriteResult writeSidecar(const QString &dataPath, const ArrivalTimes &times)
{
    return writeFileAtomically(sidecarPath(dataPath), formatSidecar(times));
}

SidecarRead parseSidecar(const QByteArray &text, qint64 streamLength)
{
    if (!text.endsWith('\n'))
        return ignored(DataTexts::sidecarCut());
    ArrivalTimes times;
    qint64 lineNumber = 0;
    for (qsizetype from = 0; from < text.size();) {
        const qsizetype end = text.indexOf('\n', from);
        QByteArrayView line = QByteArrayView(text).sliced(from, end - from);
        from = end + 1;
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (lineNumber == 1) {
            if (!times.setStartText(QString::fromLatin1(line)))
                return ignored(DataTexts::sidecarBadLine(1));
            continue;
        }
        if (lineNumber == 2 && line.startsWith(linkLostKey)) {
            if (!times.setLinkLostText(QString::fromLatin1(line.sliced(linkLostKey.size())))
                || *times.linkLostEpochMicros > times.startEpochMicros)
                return ignored(DataTexts::sidecarBadLine(2));
            continue;
        }
        const qsizetype tab = line.indexOf('\t');
        const std::optional<qint64> offset = plainNumber(line.first(std::max<qsizetype>(tab, 0)));
        const std::optional<qint64> micros = tab < 0 ? std::nullopt : plainNumber(line.sliced(tab + 1));
        if (!offset || !micros)
            return ignored(DataTexts::sidecarBadLine(lineNumber));
        if (!times.arrivals.isEmpty()
            && (*offset <= times.arrivals.constLast().offset || *micros < times.arrivals.constLast().micros))
            return ignored(DataTexts::sidecarOutOfOrder(lineNumber));
        if (*offset >= streamLength)
            return ignored(DataTexts::sidecarOtherData());
        times.arrivals.append({*offset, *micros});
    }
    SidecarRead read;
    read.status = SidecarRead::Status::Loaded;
    read.times = std::move(times);
    return read;
}

SidecarRead readSidecar(const QString &dataPath, qint64 streamLength)
{
    const QString path = sidecarPath(dataPath);
    const FileBytes file = readFileBytes(path, largestSidecar + 1, FileKinds::RegularOnly);
    if (file.error == ENOENT)
        return {};
    SidecarRead read;
    if (file.error == EISDIR || file.error == FileErrorNotRegular)
        read = ignored(DataTexts::sidecarNotAFile());
    else if (file.error != FileErrorNone)
        read = ignored(DataTexts::sidecarUnreadable(fileErrorReason(file.error)));
    else if (file.bytes.size() > largestSidecar)
        read = ignored(DataTexts::sidecarTooLarge());
    else
        read = parseSidecar(file.bytes, streamLength);
    if (read.status == SidecarRead::Status::Ignored)
        read.note = DataTexts::sidecarIgnored(path, read.note);
    return read;
}

FileWriteResult placeSidecar(const QString &targetDataPath, const std::optional<ArrivalTimes> &times)
{
    if (times)
        return writeSidecar(targetDataPath, *times);
    const QString path = sidecarPath(targetDataPath);
    // A folder of that name is no sidecar; reading ignores it too.
    if (const FileError error = removeFile(path); error != FileErrorNone && error != EISDIR)
        return {false, DataTexts::fileUnwritable(path, fileErrorReason(error))};
    return {true, {}};
}

} // namespace ferrox
