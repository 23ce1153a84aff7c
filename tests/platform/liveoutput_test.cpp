#include "platform/liveoutput.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace ferrox;

namespace {

constexpr int PieceSize = 1000;

// Piece n: its number in eight digits, then filler.
QByteArray piece(int n)
{
    return QByteArray::number(n).rightJustified(8, '0') + QByteArray(PieceSize - 8, 'p');
}

// What the pipe holds unread, without waiting for more.
QByteArray drain(int fd)
{
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    QByteArray received;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, n);
    return received;
}

} // namespace

TEST(LiveOutput, AReaderThatStopsReadingHoldsNothingUpAndGetsWholePiecesInOrder)
{
    std::signal(SIGPIPE, SIG_IGN); // as ferrox-cli has it
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    LiveOutput output(fds[1]);
    int behind = 0;
    int closed = 0;
    QObject::connect(&output, &LiveOutput::fellBehind, [&] { ++behind; });
    QObject::connect(&output, &LiveOutput::closed, [&] { ++closed; });

    // Twice what may wait: every write returns, the later pieces are dropped whole.
    const int pieces = 2 * LiveOutput::MaxQueuedBytes / PieceSize;
    int accepted = 0;
    for (int n = 0; n < pieces; ++n)
        accepted += output.write(piece(n)) ? 1 : 0;
    EXPECT_LT(accepted, pieces);
    EXPECT_EQ(output.droppedBytes(), qint64(pieces - accepted) * PieceSize);
    EXPECT_EQ(behind, 1);

    // Read again, the reader gets the accepted pieces, whole and in order.
    QByteArray received;
    const auto readAll = [&] {
        received += drain(fds[0]);
        return received.size() >= qsizetype(accepted) * PieceSize;
    };
    ASSERT_TRUE(QTest::qWaitFor(readAll, 10000));
    QByteArray expected;
    for (int n = 0; n < accepted; ++n)
        expected += piece(n);
    EXPECT_EQ(received, expected);

    // The reader gone: the output says so, once.
    ::close(fds[0]);
    EXPECT_FALSE(output.write(piece(0)));
    EXPECT_FALSE(output.write(piece(1)));
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(behind, 1);
    ::close(fds[1]);
}

// The end waits a moment for a reader that does not read, then counts what
// it could not write as dropped and says so.
TEST(LiveOutput, TheEndToldWhatAReaderThatNeverReadLost)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    LiveOutput output(fds[1]);
    int behind = 0;
    int finished = 0;
    QObject::connect(&output, &LiveOutput::fellBehind, [&] { ++behind; });
    QObject::connect(&output, &LiveOutput::finished, [&] { ++finished; });

    // A pipe takes 64 KiB unread; 100 pieces are more.
    for (int n = 0; n < 100; ++n)
        ASSERT_TRUE(output.write(piece(n)));
    EXPECT_EQ(behind, 0);
    output.finish();
    EXPECT_TRUE(output.isFinishing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished == 1; }, 5 * LiveOutput::FinishWaitMs));
    EXPECT_FALSE(output.isFinishing());
    EXPECT_EQ(behind, 1);

    EXPECT_EQ(drain(fds[0]).size() + output.droppedBytes(), 100 * PieceSize);
    ::close(fds[0]);
    ::close(fds[1]);
}

// A write that fails for another reason than a reader gone (a full disk)
// is a failure with its error, not a reader that left; the writing ends.
TEST(LiveOutput, AFailedWriteIsToldApartFromAReaderGone)
{
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    LiveOutput output(full);
    int closed = 0;
    QList<int> failures;
    QObject::connect(&output, &LiveOutput::closed, [&] { ++closed; });
    QObject::connect(&output, &LiveOutput::failed, [&](int error) { failures << error; });
    EXPECT_FALSE(output.write(piece(0)));
    EXPECT_FALSE(output.write(piece(1)));
    EXPECT_EQ(failures, QList<int>{ENOSPC});
    EXPECT_EQ(output.error(), ENOSPC);
    EXPECT_EQ(closed, 0);
    ::close(full);
}
