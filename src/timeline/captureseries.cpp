#include "captureseries.h"

#include "splitfiles.h"
#include "texts.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
#include "data/texts.h"
#include "files/fileaccess.h"

#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace ferrox {

namespace {

// A piece's file name as SplitFiles makes it: stem, "-", five or more
// digits, and the suffix of the capture's name (one dot at most). A
// sidecar ("long-00001.dat.times") is none.
const QRegularExpression &pieceForm()
{
    static const QRegularExpression form(QStringLiteral("^(.+)-(\\d{5,})((?:\\.[^.]*)?)$"));
    return form;
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QStringLiteral(".") : path.first(std::max<qsizetype>(slash, 1));
}

QString withFolder(const QString &folder, const QString &name)
{
    return folder == QLatin1String(".") ? name : folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The pieces in `folder`, by stem and suffix, each with its numbers rising.
QMap<std::pair<QString, QString>, QList<qint64>> piecesIn(const QString &folder)
{
    QMap<std::pair<QString, QString>, QList<qint64>> found;
    for (const QString &name : folderEntries(folder)) {
        const QRegularExpressionMatch match = pieceForm().match(name);
        if (match.hasMatch() && QFileInfo(withFolder(folder, name)).isFile())
            found[{match.captured(1), match.captured(3)}] << match.captured(2).toLongLong();
    }
    for (QList<qint64> &numbers : found) {
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    }
    return found;
}

std::optional<SeriesFiles> seriesOf(const QString &folder, const QString &stem, const QString &suffix)
{
    const QList<qint64> numbers = piecesIn(folder).value({stem, suffix});
    if (numbers.isEmpty())
        return std::nullopt;
    return SeriesFiles {withFolder(folder, stem), suffix, numbers};
}

QString wallClockText(qint64 epochMicros)
{
    ArrivalTimes at;
    at.startEpochMicros = epochMicros;
    return at.localStartText();
}

// The wall-clock instant of the file's first and last arrival (its start
// when it has none).
qint64 firstInstant(const ArrivalTimes &times)
{
    return times.startEpochMicros + (times.arrivals.isEmpty() ? 0 : times.arrivals.constFirst().micros);
}

qint64 lastInstant(const ArrivalTimes &times)
{
    return times.startEpochMicros + (times.arrivals.isEmpty() ? 0 : times.arrivals.constLast().micros);
}

// The start and zone of a file's times, for the series' time axis.
ArrivalTimes startOf(const ArrivalTimes &times)
{
    ArrivalTimes start;
    start.startEpochMicros = times.startEpochMicros;
    start.startUtcOffsetSeconds = times.startUtcOffsetSeconds;
    return start;
}

} // namespace

QString SeriesFiles::path(qsizetype index) const
{
    return base + QStringLiteral("-%1").arg(numbers.at(index), 5, 10, QLatin1Char('0')) + suffix;
}

SeriesLookup findSeries(const QString &given)
{
    const QFileInfo info(given);
    if (info.isDir()) {
        const auto found = piecesIn(given);
        if (found.isEmpty())
            return {std::nullopt, TimelineTexts::seriesNotFound(given)};
        if (found.size() > 1) {
            QStringList names;
            for (auto it = found.cbegin(); it != found.cend(); ++it)
                names << it.key().first + QStringLiteral("-*") + it.key().second;
            return {std::nullopt, TimelineTexts::seriesSeveral(given, names.join(QStringLiteral(", ")))};
        }
        return {SeriesFiles {withFolder(given, found.firstKey().first), found.firstKey().second, found.first()}, {}};
    }
    const QString folder = folderOf(given);
    const QRegularExpressionMatch piece = pieceForm().match(info.fileName());
    if (piece.hasMatch()) { // a file the ring has removed names its series too
        if (std::optional<SeriesFiles> files = seriesOf(folder, piece.captured(1), piece.captured(3)))
            return {files, {}};
    }
    // The name the capture was given: its pieces are named as SplitFiles names them.
    const QString first = SplitFiles(given, 0).pieceName(1);
    const qsizetype number = first.lastIndexOf(QLatin1String("-00001"));
    const QString suffix = first.sliced(number + 6);
    if (std::optional<SeriesFiles> files = seriesOf(folder, QFileInfo(first.first(number)).fileName(), suffix))
        return {files, {}};
    return {std::nullopt, TimelineTexts::seriesNotFound(given)};
}

std::optional<SeriesFiles> seriesBeside(const QString &dataPath)
{
    const QRegularExpressionMatch piece = pieceForm().match(QFileInfo(dataPath).fileName());
    if (!piece.hasMatch())
        return std::nullopt;
    std::optional<SeriesFiles> files = seriesOf(folderOf(dataPath), piece.captured(1), piece.captured(3));
    if (!files || files->size() < 2)
        return std::nullopt;
    return files;
}

SeriesReader::SeriesReader(SeriesFiles files, qsizetype from, qsizetype count)
    : m_files(std::move(files)), m_index(std::clamp<qsizetype>(from, 0, m_files.size())),
      m_end(count < 0 ? m_files.size() : std::min(m_files.size(), m_index + count))
{
    if (m_index == 0)
        return;
    // The axis starts where the series does: its first file's sidecar tells.
    const QString first = m_files.path(0);
    const SidecarRead start = readSidecar(first, QFileInfo(first).size());
    if (start.times)
        m_origin = startOf(*start.times);
}

void SeriesReader::leaveOut(const QString &path, const QString &why)
{
    SeriesGap gap;
    gap.kind = SeriesGap::Kind::FileLeftOut;
    gap.firstFile = gap.lastFile = path;
    gap.why = why;
    m_pending << gap;
    m_unknownSinceLast = true;
}

QString SeriesReader::otherCaptureReason(const ArrivalTimes &times) const
{
    if (!m_last)
        return {};
    // Pieces of one run share its start; a resumed file starts anew and
    // says when the link was lost. Nothing of ours arrives before what
    // came earlier.
    const bool startsAnew = times.startEpochMicros != m_last->startEpochMicros;
    if (firstInstant(times) < lastInstant(*m_last) || (startsAnew && !times.linkLostEpochMicros && !m_unknownSinceLast))
        return TimelineTexts::seriesOtherCapture(times.startText(), m_last->startText());
    return {};
}

std::optional<SeriesPiece> SeriesReader::next()
{
    while (m_index < m_end) {
        const qsizetype index = m_index++;
        const qint64 expected = index == 0 ? 1 : m_files.numbers.at(index - 1) + 1;
        if (m_files.numbers.at(index) > expected) {
            SeriesFiles missing {m_files.base, m_files.suffix, {expected, m_files.numbers.at(index) - 1}};
            SeriesGap gap;
            gap.kind = SeriesGap::Kind::MissingFiles;
            gap.firstFile = missing.path(0);
            gap.lastFile = missing.path(1);
            m_pending << gap;
            m_unknownSinceLast = true;
        }
        const QString path = m_files.path(index);
        const LoadResult loaded = LoadMonitorData(path, FileKinds::RegularOnly);
        if (!loaded.ok()) {
            leaveOut(path, loaded.message);
            continue;
        }
        if (loaded.capture.CaptureEnd() == 0) {
            leaveOut(path, DataTexts::noMonitorData());
            continue;
        }
        SeriesPiece piece;
        piece.path = path;
        if (loaded.status == LoadResult::Status::Cut)
            piece.notes << TimelineTexts::seriesFileNote(path, loaded.message);
        SidecarRead read = readSidecar(path, qint64(loaded.capture.CaptureEnd()) + 1);
        if (read.status == SidecarRead::Status::Ignored)
            piece.notes << read.note;
        else if (!read.times)
            piece.notes << TimelineTexts::seriesNoTimes(path);
        if (read.times) {
            if (const QString why = otherCaptureReason(*read.times); !why.isEmpty()) {
                leaveOut(path, why);
                continue;
            }
            if (read.times->linkLostEpochMicros) {
                SeriesGap gap;
                gap.kind = SeriesGap::Kind::LinkLost;
                gap.lostEpochMicros = *read.times->linkLostEpochMicros;
                gap.backEpochMicros = read.times->startEpochMicros;
                m_pending << gap;
            }
            if (!m_origin)
                m_origin = startOf(*read.times);
            m_last = *read.times;
            m_last->arrivals = {read.times->arrivals.value(read.times->arrivals.size() - 1, Arrival {0, 0})};
            // One time axis: each file's times counted from the series' start.
            ArrivalTimes shifted = std::move(*read.times);
            const qint64 shift = shifted.startEpochMicros - m_origin->startEpochMicros;
            for (Arrival &arrival : shifted.arrivals)
                arrival.micros += shift;
            shifted.startEpochMicros = m_origin->startEpochMicros;
            shifted.startUtcOffsetSeconds = m_origin->startUtcOffsetSeconds;
            piece.times = std::move(shifted);
            m_unknownSinceLast = false;
        } else {
            m_unknownSinceLast = true;
        }
        piece.bytes = assembleMonitoredBytes(loaded.capture);
        if (piece.bytes.errorOffset >= 0)
            piece.notes << TimelineTexts::seriesFileNote(path, TimelineTexts::timelineCutAtError(piece.bytes.errorOffset));
        piece.firstByteIndex = m_nextByteIndex;
        m_nextByteIndex += piece.bytes.bytes.size();
        piece.gapsBefore = std::exchange(m_pending, {});
        return piece;
    }
    return std::nullopt;
}

QString seriesGapText(const SeriesGap &gap)
{
    switch (gap.kind) {
    case SeriesGap::Kind::LinkLost: {
        const qint64 micros = gap.backEpochMicros - gap.lostEpochMicros;
        return TimelineTexts::seriesLinkLost(wallClockText(gap.lostEpochMicros), wallClockText(gap.backEpochMicros),
                                             QStringLiteral("%1.%2").arg(micros / 1000000).arg(micros % 1000000, 6, 10, QLatin1Char('0')));
    }
    case SeriesGap::Kind::MissingFiles: return TimelineTexts::seriesMissingFiles(gap.firstFile, gap.lastFile);
    case SeriesGap::Kind::FileLeftOut: return TimelineTexts::seriesFileLeftOut(gap.firstFile, gap.why);
    }
    return {};
}

} // namespace ferrox
