// A split capture read as one: finding its files in number order, one time
// axis over files that started anew after a lost link, and what is said of
// the gaps and of files that are missing, faulty or of another capture.
#include "data/datatesting.h"

#include "support/testfiles.h"
#include "timeline/captureseries.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::testing;
using ferrox::test::writeFile;

namespace {

const char *runStart = "2026-12-07T10:00:00.000000+00:00";
const char *resumedStart = "2026-12-07T10:05:00.000000+00:00";
const char *lostAt = "2026-12-07T10:04:50.000000+00:00";

class Series : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    // A piece holding `monitored` J1 bytes, with a sidecar unless `start`
    // is null: the start, a link-lost line when `lost` is given, one
    // arrival at `micros`.
    void piece(const QString &name, QByteArrayView monitored, const char *start = runStart, qint64 micros = 1000,
               const char *lost = nullptr)
    {
        writeFile(path(name), byJ1(monitored) + endCode());
        if (!start)
            return;
        QByteArray times = QByteArray(start) + '\n';
        if (lost)
            times += QByteArray("link-lost\t") + lost + '\n';
        writeFile(path(name + QStringLiteral(".times")), times + "0\t" + QByteArray::number(micros) + '\n');
    }

    SeriesFiles found(const QString &given)
    {
        const SeriesLookup lookup = findSeries(given);
        EXPECT_TRUE(lookup.files) << lookup.error.toStdString();
        return lookup.files.value_or(SeriesFiles {});
    }

    QList<SeriesPiece> readAll(const QString &given, QList<SeriesGap> *trailing = nullptr)
    {
        SeriesReader reader(found(given));
        QList<SeriesPiece> pieces;
        while (std::optional<SeriesPiece> piece = reader.next())
            pieces << *piece;
        if (trailing)
            *trailing = reader.trailingGaps();
        return pieces;
    }

    QTemporaryDir dir;
};

QStringList pathsOf(const QList<SeriesPiece> &pieces)
{
    QStringList names;
    for (const SeriesPiece &piece : pieces)
        names << QDir(piece.path).dirName();
    return names;
}

} // namespace

// One of its files (present or not), the name it was captured to and its
// folder all name the series; numbers order it, not names.
TEST_F(Series, IsFoundByAnyOfItsNamesInNumberOrder)
{
    for (const char *name : {"long-00002.dat", "long-00010.dat", "long-00001.dat", "long-100000.dat"})
        piece(QLatin1String(name), "x");
    writeFile(path(QStringLiteral("long.txt")), "not a piece");
    const QList<qint64> numbers {1, 2, 10, 100000};
    EXPECT_EQ(found(path(QStringLiteral("long-00010.dat"))).numbers, numbers);
    EXPECT_EQ(found(path(QStringLiteral("long.dat"))).numbers, numbers);
    EXPECT_EQ(found(path(QStringLiteral("long-00003.dat"))).numbers, numbers); // one the ring removed
    EXPECT_EQ(found(dir.path()).numbers, numbers);
    EXPECT_EQ(found(dir.path()).path(3), path(QStringLiteral("long-100000.dat")));
}

TEST_F(Series, AFolderOfTwoCapturesIsNotGuessedAt)
{
    piece(QStringLiteral("long-00001.dat"), "x");
    piece(QStringLiteral("night-00001.dat"), "y");
    const SeriesLookup lookup = findSeries(dir.path());
    EXPECT_FALSE(lookup.files);
    EXPECT_TRUE(lookup.error.contains(QLatin1String("long-*.dat")) && lookup.error.contains(QLatin1String("night-*.dat")))
        << lookup.error.toStdString();
}

TEST_F(Series, NothingOfThatNameIsSaid)
{
    piece(QStringLiteral("long-00001.dat"), "x");
    EXPECT_FALSE(findSeries(path(QStringLiteral("short.dat"))).files);
    EXPECT_FALSE(findSeries(path(QStringLiteral("short.dat"))).error.isEmpty());
}

// Pieces of one run share its start; a file resumed after a lost link
// starts anew and its times move by the difference. The gap runs from the
// loss to that start.
TEST_F(Series, FilesShareOneTimeAxisAndALostLinkIsAGap)
{
    piece(QStringLiteral("long-00001.dat"), "ab", runStart, 1000);
    piece(QStringLiteral("long-00002.dat"), "c", runStart, 9000);
    piece(QStringLiteral("long-00003.dat"), "d", resumedStart, 500, lostAt);
    const QList<SeriesPiece> pieces = readAll(dir.path());
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces.at(1).times->microsAt(0), 9000);
    EXPECT_EQ(pieces.at(2).times->microsAt(0), 300000500);
    EXPECT_EQ(pieces.at(2).times->startText(), QLatin1String(runStart));
    EXPECT_TRUE(pieces.at(1).gapsBefore.isEmpty());
    ASSERT_EQ(pieces.at(2).gapsBefore.size(), 1);
    const SeriesGap &gap = pieces.at(2).gapsBefore.constFirst();
    EXPECT_EQ(gap.kind, SeriesGap::Kind::LinkLost);
    EXPECT_EQ(gap.backEpochMicros - gap.lostEpochMicros, 10000000);
}

// Missing numbers are said as such, before the first file too (a ring
// dropped them or they were lost), never bridged as if nothing were gone.
TEST_F(Series, MissingNumbersAreAGapOfTheirOwn)
{
    piece(QStringLiteral("long-00003.dat"), "a");
    piece(QStringLiteral("long-00004.dat"), "b");
    piece(QStringLiteral("long-00007.dat"), "c");
    const QList<SeriesPiece> pieces = readAll(dir.path());
    ASSERT_EQ(pieces.size(), 3);
    ASSERT_EQ(pieces.at(0).gapsBefore.size(), 1);
    EXPECT_EQ(QDir(pieces.at(0).gapsBefore.at(0).firstFile).dirName(), QLatin1String("long-00001.dat"));
    EXPECT_TRUE(pieces.at(1).gapsBefore.isEmpty());
    ASSERT_EQ(pieces.at(2).gapsBefore.size(), 1);
    const SeriesGap &gap = pieces.at(2).gapsBefore.at(0);
    EXPECT_EQ(gap.kind, SeriesGap::Kind::MissingFiles);
    EXPECT_EQ(QDir(gap.firstFile).dirName() + QDir(gap.lastFile).dirName(), QLatin1String("long-00005.datlong-00006.dat"));
}

// A file without its sidecar is read without times and said so; it does
// not make the next file's own start look like another capture's.
TEST_F(Series, AMissingSidecarLosesTheTimesOfThatFileOnly)
{
    piece(QStringLiteral("long-00001.dat"), "a");
    piece(QStringLiteral("long-00002.dat"), "b", nullptr);
    piece(QStringLiteral("long-00003.dat"), "c", resumedStart, 500);
    const QList<SeriesPiece> pieces = readAll(dir.path());
    ASSERT_EQ(pathsOf(pieces), QStringList({QStringLiteral("long-00001.dat"), QStringLiteral("long-00002.dat"), QStringLiteral("long-00003.dat")}));
    EXPECT_FALSE(pieces.at(1).times);
    EXPECT_TRUE(pieces.at(1).notes.value(0).contains(QLatin1String("long-00002.dat"))) << pieces.at(1).notes.value(0).toStdString();
    EXPECT_EQ(pieces.at(2).times->microsAt(0), 300000500);
}

// Files that cannot be used are left out with the reason, and the series
// goes on: an empty or end-code-only file, one of another capture (it
// starts before the file it would follow, or anew without a lost link).
TEST_F(Series, FaultyAndForeignFilesAreLeftOutWithTheReason)
{
    piece(QStringLiteral("long-00001.dat"), "a", runStart, 1000);
    writeFile(path(QStringLiteral("long-00002.dat")), "");
    piece(QStringLiteral("long-00003.dat"), "b", "2026-12-06T09:00:00.000000+00:00", 1000);
    piece(QStringLiteral("long-00004.dat"), "c", runStart, 2000);
    piece(QStringLiteral("long-00005.dat"), "d", resumedStart, 1000);
    writeFile(path(QStringLiteral("long-00006.dat")), endCode());
    QList<SeriesGap> trailing;
    const QList<SeriesPiece> pieces = readAll(dir.path(), &trailing);
    ASSERT_EQ(pathsOf(pieces), QStringList({QStringLiteral("long-00001.dat"), QStringLiteral("long-00004.dat")}));
    ASSERT_EQ(pieces.at(1).gapsBefore.size(), 2);
    EXPECT_EQ(pieces.at(1).gapsBefore.at(0).kind, SeriesGap::Kind::FileLeftOut);
    EXPECT_TRUE(pieces.at(1).gapsBefore.at(1).why.contains(QStringLiteral("別のキャプチャー")));
    ASSERT_EQ(trailing.size(), 2);
    EXPECT_TRUE(trailing.at(0).why.contains(QStringLiteral("別のキャプチャー"))) << trailing.at(0).why.toStdString();
}

// Only the file being read is held: each piece carries its own bytes, and
// the series' byte indices go on from piece to piece.
TEST_F(Series, EachPieceHoldsItsOwnFileOnly)
{
    for (int n = 1; n <= 40; ++n)
        piece(QStringLiteral("long-%1.dat").arg(n, 5, 10, QLatin1Char('0')), QByteArray(n, 'x'), runStart, n);
    const QList<SeriesPiece> pieces = readAll(dir.path());
    ASSERT_EQ(pieces.size(), 40);
    EXPECT_EQ(pieces.at(39).bytes.bytes.size(), 40);
    EXPECT_EQ(pieces.at(39).firstByteIndex, 39 * 40 / 2);
}

TEST_F(Series, APieceBesideOthersIsFoundAsItsSeries)
{
    piece(QStringLiteral("long-00001.dat"), "a");
    piece(QStringLiteral("solo-00001.dat"), "a");
    piece(QStringLiteral("long-00002.dat"), "b");
    EXPECT_EQ(seriesBeside(path(QStringLiteral("long-00001.dat"))).value_or(SeriesFiles {}).size(), 2);
    EXPECT_FALSE(seriesBeside(path(QStringLiteral("solo-00001.dat"))));
}
