// The capture that goes on across a lost link, against boards in-process
// that are pulled off the port and plugged in again: what each kind of
// return (or none) leads to.
#include "capture/resumingcapture.h"

#include "board/boardengine.h"
#include "board/traffic.h"
#include "link/linkowner.h"
#include "support/fakeserialport.h"
#include "support/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;

namespace {

constexpr int resourceError = 9; // QSerialPort::ResourceError: the device went away

// A port whose device node lies in a temporary folder, and the board
// behind it, pulled off and plugged in again as an adapter is.
class ResumingCaptureTest : public testing::Test
{
protected:
    ResumingCaptureTest()
    {
        request.settings.port = dir.filePath(QStringLiteral("ttyUSB0"));
        request.dataPath = dir.filePath(QStringLiteral("long.dat"));
        request.splitBytes = 4000;
        request.resume = true;
        request.retryMs = 100;
    }

    void plug(BoardConfig config = {})
    {
        config.traffic = QStringLiteral("random:7");
        config.loop = true;
        config.rate = 20000;
        board = std::make_unique<BoardEngine>(config, randomTraffic(7));
        board->setLinkSettings(port.settings());
        QObject::connect(&port, &FakeSerialPort::settingsApplied, board.get(), &BoardEngine::setLinkSettings);
        QObject::connect(&port, &FakeSerialPort::bytesWritten, board.get(), &BoardEngine::receive);
        QObject::connect(board.get(), &BoardEngine::output, &port, &FakeSerialPort::deliver);
        port.refusedPaths.remove(request.settings.port);
        writeFile(request.settings.port, {});
    }
    void pull()
    {
        board.reset();
        QFile::remove(request.settings.port);
        port.refusedPaths.insert(request.settings.port);
        port.raiseLineError(resourceError);
    }
    void start()
    {
        capture = std::make_unique<ResumingCapture>(owner, request);
        QObject::connect(capture.get(), &ResumingCapture::streamStarted, capture.get(), [this] {
            ++streams;
            bytesBefore = capture->output()->monitoredBytes();
        });
        QObject::connect(capture.get(), &ResumingCapture::waiting, capture.get(), [this](const QString &why) { said << why; });
        QObject::connect(capture.get(), &ResumingCapture::boardChanged, capture.get(),
                         [this](const QString &before, const QString &now) { changes << before + u'>' + now; });
        QObject::connect(capture.get(), &ResumingCapture::finished, capture.get(),
                         [this](const SplitCaptureResult &r) { result = r; });
        capture->start();
    }
    // The stream `count` has begun and brought some bytes.
    bool streamsReach(int count)
    {
        return QTest::qWaitFor([&] { return streams >= count && capture->output()->monitoredBytes() > bytesBefore + 100; }, 5000);
    }
    bool ends() { return QTest::qWaitFor([&] { return result.has_value(); }, 5000); }
    // A capture under way on a plugged board, its first stream flowing.
    void startStreaming()
    {
        plug();
        start();
        ASSERT_TRUE(streamsReach(1));
    }
    // The right board plugged in: stream `count` flows, and the user's stop
    // ends the capture as stopped.
    void plugAndStopAtStream(int count)
    {
        plug();
        ASSERT_TRUE(streamsReach(count));
        capture->requestStop();
        ASSERT_TRUE(ends());
        EXPECT_EQ(result->end, SplitCaptureResult::End::Stopped);
    }

    QTemporaryDir dir;
    FakeSerialPort port;
    LinkOwner owner{port};
    std::unique_ptr<BoardEngine> board;
    SplitCaptureRequest request;
    std::unique_ptr<ResumingCapture> capture;
    int streams = 0;
    qint64 bytesBefore = 0; // monitored bytes before the last stream began
    QStringList said;
    QStringList changes;
    std::optional<SplitCaptureResult> result;
};

// Back at another jumper the board does not answer: the capture says so
// once, however often it tries, and goes on once the right board is back.
TEST_F(ResumingCaptureTest, ABoardBackAtAnotherSpeedIsTriedAgainAndToldOnce)
{
    ASSERT_NO_FATAL_FAILURE(startStreaming());
    pull();
    const auto checksTried = [&] { return port.operations.filter(QRegularExpression(QStringLiteral("^open "))).size(); };
    const qsizetype triedBefore = checksTried();
    plug({.jumper = 115200});
    ASSERT_TRUE(QTest::qWaitFor([&] { return checksTried() >= triedBefore + 3; }, 10000)); // three checks unanswered
    EXPECT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_EQ(streams, 1);
    pull();
    ASSERT_NO_FATAL_FAILURE(plugAndStopAtStream(2));
    EXPECT_EQ(result->resumes, 1);
}

// A port that failed reaches no board: nothing more is written to it (a
// stop written to a device that went away is retried by the driver until
// the drain gives up, at full speed).
TEST_F(ResumingCaptureTest, NothingIsWrittenToAPortThatFailed)
{
    ASSERT_NO_FATAL_FAILURE(startStreaming());
    const QByteArray writtenBefore = port.written;
    pull();
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture->isWaiting(); }, 3000));
    EXPECT_EQ(port.written, writtenBefore);
}

// Another firmware is told; the capture goes on when it can take the
// settings and ends as a refused link when it cannot.
TEST_F(ResumingCaptureTest, AnotherBoardVersionIsToldAndTakenIfItCanCapture)
{
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        streams = 0;
        result.reset();
        changes.clear();
        request.dataPath = dir.filePath(refused ? QStringLiteral("refused.dat") : QStringLiteral("taken.dat"));
        request.settingsCheck = [refused](const QString &firmware) {
            return refused && firmware == QLatin1String("V1.02") ? QStringLiteral("no\n") : QString();
        };
        ASSERT_NO_FATAL_FAILURE(startStreaming());
        pull();
        plug({.firmware = "V1.02"});
        if (!refused) {
            ASSERT_TRUE(streamsReach(2));
            capture->requestStop();
        }
        ASSERT_TRUE(ends());
        EXPECT_EQ(changes, QStringList{QStringLiteral("V1.05>V1.02")});
        EXPECT_EQ(result->end, refused ? SplitCaptureResult::End::Refused : SplitCaptureResult::End::Stopped);
        EXPECT_EQ(capture->output()->files().written(), refused ? 1 : 2) << "nothing written before is lost";
    }
}

// While the link is down: a stop ends the wait at once, the timeout gives
// up, and a capture that does not resume ends at the loss.
TEST_F(ResumingCaptureTest, ALinkThatStaysDownEndsByStopTimeoutOrAtOnce)
{
    const struct { const char *name; bool resume; int timeoutMs; bool stop; SplitCaptureResult::End end; } cases[] = {
        {"stopped", true, 0, true, SplitCaptureResult::End::Stopped},
        {"timed out", true, 300, false, SplitCaptureResult::End::GaveUp},
        {"no resume", false, 0, false, SplitCaptureResult::End::LinkLost},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        streams = 0;
        result.reset();
        request.dataPath = dir.filePath(QLatin1String(c.name) + QStringLiteral(".dat"));
        request.resume = c.resume;
        request.resumeTimeoutMs = c.timeoutMs;
        ASSERT_NO_FATAL_FAILURE(startStreaming());
        pull();
        if (c.stop) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return capture->isWaiting(); }, 3000));
            capture->requestStop();
            QTest::qWait(1);
            ASSERT_TRUE(result.has_value()) << "at once";
        }
        ASSERT_TRUE(ends());
        EXPECT_EQ(result->end, c.end);
        EXPECT_EQ(capture->output()->files().written(), 1);
    }
}

// A file that cannot be written after a resume (a folder stands where it
// goes, as a full disk refuses it) ends the capture; the files before stay.
TEST_F(ResumingCaptureTest, AFileThatCannotBeWrittenAfterAResumeEndsTheCaptureKeepingTheOthers)
{
    ASSERT_NO_FATAL_FAILURE(startStreaming());
    pull();
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture->isWaiting(); }, 3000));
    const qint64 written = capture->output()->files().written();
    QDir().mkpath(capture->output()->files().pieceName(written + 1));
    plug();
    ASSERT_TRUE(ends());
    EXPECT_EQ(result->end, SplitCaptureResult::End::WriteFailed);
    EXPECT_EQ(result->resumes, 1);
    EXPECT_TRUE(QFileInfo(capture->output()->files().pieceName(written)).isFile());
}

// With resume, a device that is not there yet is waited for; its first
// stream is no resume.
TEST_F(ResumingCaptureTest, ADeviceAbsentAtTheStartIsWaitedFor)
{
    port.refusedPaths.insert(request.settings.port);
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }, 3000));
    ASSERT_NO_FATAL_FAILURE(plugAndStopAtStream(1));
    EXPECT_EQ(result->resumes, 0);
}

// udev removes /dev/serial/by-id with its last device and makes it again
// with the next: the node is seen coming back by the folder above, without
// waiting for the slow tick.
TEST(DeviceWatch, SeesANodeComeBackInAFolderThatWasGone)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("serial/by-id"));
    const QString node = folder + QStringLiteral("/usb-ferrox-if00");
    DeviceWatch watch;
    int looks = 0;
    QObject::connect(&watch, &DeviceWatch::lookAgain, &watch, [&] { ++looks; });
    watch.watch(node, 60'000);
    EXPECT_FALSE(watch.isPresent());
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QTest::qWaitFor([&] { return looks > 0; }, 3000));
    writeFile(dir.filePath(QStringLiteral("ttyUSB0")), {});
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("ttyUSB0")), node));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isPresent() && looks > 1; }, 3000));
}

} // namespace
