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
    // Odd limits land on high nibbles; large blocks cut several pieces.
    const Case cases[] = {{1000, 64}, {999, 64}, {999, 2500}, {2, 7}, {10000, 4096}, {StreamSplitter::LargestPiece, 333}};
    for (const Case &c : cases) {
        StreamSplitter splitter(c.limit, {});
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
            // Each stream byte keeps the time of the block it came in,
            // the first of each piece included.
            for (qint32 i = 0; i < capture.CaptureEnd(); i += 97) {
                const qint64 original = joined.size() + i;
                ASSERT_EQ(piece.times.microsAt(i), (original / c.block + 1) * 100) << c.limit << " at " << original;
            }
            joined += piece.stream.chopped(1);
        }
        EXPECT_EQ(joined, stream) << c.limit;
    }
}

TEST(StreamSplitter, AStreamEndingAtACutLeavesNoEmptyPieceButAnEmptyStreamIsOne)
{
    StreamSplitter exact(4, {});
    EXPECT_EQ(exact.feed(byJ1("AB"), 0).size(), 1);
    EXPECT_FALSE(exact.finish());
    EXPECT_EQ(StreamSplitter(4, {}).finish()->stream, endCode());
}

TEST(SplitFiles, NumberedFilesWithTheirTimesInARing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("long.dat"));
    SplitFiles files(out, 3);
    EXPECT_EQ(files.pieceName(1), dir.filePath(QStringLiteral("long-00001.dat")));

    StreamSplitter::Piece piece {byJ1("AB") + endCode(), {}};
    piece.times.arrivals = {{0, 10}};
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(files.write(piece).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("long-00003.dat"), QStringLiteral("long-00003.dat.times"),
                           QStringLiteral("long-00004.dat"), QStringLiteral("long-00004.dat.times"),
                           QStringLiteral("long-00005.dat"), QStringLiteral("long-00005.dat.times")}));
    EXPECT_EQ(readSidecar(files.pieceName(5), 5).times, piece.times);
}
