#include "seriesinput.h"

#include "clioutput.h"
#include "commands.h"
#include "datafileinput.h"

#include "data/texts.h"
#include "timeline/texts.h"

#include <cerrno>

namespace ferrox::cli {

CliOption seriesOption()
{
    return {QStringLiteral("series"), {},
            QStringLiteral("read FILE as a split capture's series, one capture with its gaps: FILE is one of\n"
                           "                          its files (long-00001.dat), the name it was captured to\n"
                           "                          (long.dat) or its folder")};
}

std::optional<SeriesFiles> findSeriesFor(const QString &given, int &exitStatus)
{
    SeriesLookup found = findSeries(given);
    if (!found.files) {
        printErrorLine(found.error);
        exitStatus = ExitIoFailure;
    }
    return std::move(found.files);
}

void hintSeries(const QString &dataPath)
{
    if (const std::optional<SeriesFiles> series = seriesBeside(dataPath))
        printErrorLine(TimelineTexts::seriesHint(dataPath, series->size()));
}

int walkSeries(const SeriesFiles &files, const std::function<bool(const SeriesGap &)> &onGap,
               const std::function<bool(const SeriesPiece &)> &onPiece)
{
    SeriesReader reader(files);
    bool faulty = false;
    bool anyPiece = false;
    const auto gapsDone = [&](const QList<SeriesGap> &gaps) {
        for (const SeriesGap &gap : gaps) {
            // A lost link is on record, not a fault; the rest are told here.
            if (gap.kind != SeriesGap::Kind::LinkLost)
                printErrorLine(seriesGapText(gap));
            faulty = faulty || gap.kind == SeriesGap::Kind::FileLeftOut;
            if (!onGap(gap))
                return false;
        }
        return true;
    };
    while (const std::optional<SeriesPiece> piece = reader.next()) {
        anyPiece = true;
        if (!gapsDone(piece->gapsBefore))
            return stoppedByOutput();
        for (const QString &note : piece->notes)
            printErrorLine(note);
        faulty = faulty || piece->bytes.errorOffset >= 0;
        if (!onPiece(*piece))
            return stoppedByOutput();
    }
    if (!gapsDone(reader.trailingGaps()))
        return stoppedByOutput();
    if (!anyPiece)
        printErrorLine(DataTexts::noMonitorData());
    return faulty || !anyPiece ? ExitRejected : ExitSuccess;
}

bool PieceOutput::open(const QString &name)
{
    m_name = name;
    m_ok = true;
    return name == QLatin1String("-") || failed(m_writer.open(name));
}

bool PieceOutput::write(QByteArrayView bytes)
{
    if (!m_ok)
        return false;
    if (m_name == QLatin1String("-"))
        return m_ok = writeOut(bytes);
    return failed(m_writer.append(bytes));
}

bool PieceOutput::commit()
{
    if (!m_ok || m_name == QLatin1String("-"))
        return m_ok;
    return failed(m_writer.commit());
}

bool PieceOutput::failed(FileError error)
{
    if (error == FileErrorNone)
        return true;
    if (m_ok) {
        if (error == EPIPE)
            noteOutputFailure(m_name, error);
        else
            noteOutputFailureMessage(DataTexts::fileUnwritable(m_name, fileErrorReason(error)));
    }
    m_ok = false;
    return false;
}

bool refuseOverwritingSeries(CliArguments &args, const QString &output, const SeriesFiles &files, int &exitStatus)
{
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (const int refused = refuseOverwritingInput(args, output, files.path(i))) {
            exitStatus = refused;
            return true;
        }
    }
    return false;
}

} // namespace ferrox::cli
