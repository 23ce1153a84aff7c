// Splitting a long stream into data files at whole monitored bytes.
#include "data/datatesting.h"

#include "data/examine.h"
#include "data/sidecar.h"
#include "timeline/splitfiles.h"
#include "timeline/streamsplitter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// Monitored bytes of both sides in turns of varied length.
QByteArray conversation(int monitoredBytes)
{
    QByteArray stream;
    for (int i = 0; stream.size() < 2 * monitoredBytes; ++i)
        stream += (i % 3 ? byJ1(QByteArray(i % 7 + 1, char(i))) : byJ2(QByteArray(i % 5 + 1, char(0xF0 - i))));
    return stream.first(2 * monitoredBytes);
}

} // namespace

TEST(StreamSplitter, PiecesAreWholeStreamsThatJoinToTheOriginal)
{
    const QByteArray stream = conversation(5000);
    struct Case { qint32 limit; qsizetype block; };
    // Odd limits land on high nibbles; blocks larger than a piece cut
    // several pieces from one arrival.
    const Case cases[] = {{1000, 64}, {999, 64}, {999, 2500}, {2, 7}, {10000, 4096}, {StreamSplitter::LargestPiece, 333}};
    for (const Case &c : cases) {
        ArrivalTimes start;
        start.startEpochMicros = 1796562051000000;
        StreamSplitter splitter(c.limit, start);
        QList<StreamSplitter::Piece> pieces;
        qint64 micros = 0;
        for (qsizetype at = 0; at < stream.size(); at += c.block)
            pieces += splitter.feed(QByteArrayView(stream).sliced(at, std::min(c.block, stream.size() - at)), micros += 100);
        if (std::optional<StreamSplitter::Piece> last = splitter.finish())
            pieces.append(*last);

        QByteArray joined;
        for (const StreamSplitter::Piece &piece : std::as_const(pieces)) {
            const CaptureBuffer capture = streamOf(piece.stream);
            EXPECT_LE(capture.CaptureEnd(), c.limit) << c.limit;
            EXPECT_EQ(ExamineMonitorData(capture), 0) << c.limit;
            EXPECT_EQ(piece.times.startEpochMicros, start.startEpochMicros);
            ASSERT_FALSE(piece.times.arrivals.isEmpty());
            EXPECT_EQ(piece.times.arrivals.constFirst().offset, 0);
            // Each stream byte keeps the time of the block it came in.
            for (qint32 i = 0; i < capture.CaptureEnd(); i += 97) {
                const qint64 original = joined.size() + i;
                ASSERT_EQ(piece.times.microsAt(i), (original / c.block + 1) * 100) << c.limit << " at " << original;
            }
            joined += piece.stream.chopped(1);
        }
        EXPECT_EQ(joined, stream) << c.limit;
        EXPECT_EQ(splitter.streamBytes(), stream.size());
    }
}

TEST(StreamSplitter, AnEmptyStreamIsOnePieceOfTheEndCode)
{
    StreamSplitter splitter(1000, {});
    const std::optional<StreamSplitter::Piece> last = splitter.finish();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->stream, endCode());
    // A stream that ends just after a cut leaves no empty piece behind.
    StreamSplitter exact(4, {});
    EXPECT_EQ(exact.feed(byJ1("AB"), 0).size(), 1);
    EXPECT_FALSE(exact.finish());
}

TEST(SplitFiles, NumberedFilesWithTheirTimesInARing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("long.dat"));
    SplitFiles files(out, 3);
    EXPECT_EQ(files.pieceName(1), dir.filePath(QStringLiteral("long-00001.dat")));
    EXPECT_EQ(files.pieceName(123456), dir.filePath(QStringLiteral("long-123456.dat")));
    EXPECT_EQ(SplitFiles(dir.filePath(QStringLiteral("plain")), 0).pieceName(2), dir.filePath(QStringLiteral("plain-00002")));
    EXPECT_TRUE(files.collision().isEmpty());

    StreamSplitter::Piece piece {byJ1("AB") + endCode(), {}};
    piece.times.arrivals = {{0, 10}};
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(files.write(piece).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("long-00003.dat"), QStringLiteral("long-00003.dat.times"),
                           QStringLiteral("long-00004.dat"), QStringLiteral("long-00004.dat.times"),
                           QStringLiteral("long-00005.dat"), QStringLiteral("long-00005.dat.times")}));
    EXPECT_EQ(readSidecar(files.pieceName(5), 5).times, piece.times);
    // A second capture to the same name would mix its files with these.
    ASSERT_TRUE(QFile::copy(files.pieceName(5), files.pieceName(1)));
    EXPECT_EQ(SplitFiles(out, 0).collision(), files.pieceName(1));
}
