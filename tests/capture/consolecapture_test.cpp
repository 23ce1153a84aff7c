// A whole capture without a window against the board in-process: what goes
// over the wire, what is kept, and every way it ends.
#include "capture/consolecapture.h"
#include "capturetesting.h"

#include "board/traffic.h"
#include "link/texts.h"
#include "support/inprocessboard.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

using Exit = CaptureRecorder::Exit;
using Status = ConsoleCaptureResult::Status;

ConsoleCaptureRequest request(const QString &speed = QStringLiteral("  9600"))
{
    ConsoleCaptureRequest r;
    r.portName = QStringLiteral("/dev/ttyUSB0");
    r.monitorSpeedText = speed;
    r.directionText = linktext::directionBoth();
    return r;
}

class ConsoleCaptureRun : public testing::Test
{
protected:
    void makeBoard(const BoardConfig &config)
    {
        board = std::make_unique<InProcessBoard>(config);
        makeCapture(board->port());
    }
    void makeCapture(FakeSerialPort &onPort)
    {
        port = &onPort;
        owner = std::make_unique<LinkOwner>(onPort);
        capture = std::make_unique<ConsoleCapture>(*owner);
        QObject::connect(capture.get(), &ConsoleCapture::logText, capture.get(),
                         [this](const QString &text) { log += text; });
        QObject::connect(capture.get(), &ConsoleCapture::finished, capture.get(),
                         [this](const ConsoleCaptureResult &r) {
                             result = r;
                             holderAtEnd = owner->holder();
                         });
    }
    // Runs the capture; stopWhen (if any) decides when the user stops it.
    bool run(const ConsoleCaptureRequest &req, const std::function<bool()> &stopWhen = {}, int timeoutMs = 5000)
    {
        capture->start(req);
        if (stopWhen) {
            if (!QTest::qWaitFor(stopWhen, timeoutMs))
                return false;
            capture->requestStop();
        }
        return QTest::qWaitFor([&] { return result.has_value(); }, timeoutMs);
    }
    QByteArray stream() const { return result->data.capture.stream().toByteArray(); }

    std::unique_ptr<InProcessBoard> board;
    FakeSerialPort *port = nullptr;
    std::unique_ptr<LinkOwner> owner;
    std::unique_ptr<ConsoleCapture> capture;
    std::optional<ConsoleCaptureResult> result;
    LinkUse holderAtEnd = LinkUse::Capture;
    QString log;
};

TEST_F(ConsoleCaptureRun, TheUsersStopKeepsTheWholeStreamUpToTheEndCode)
{
    makeBoard({.rate = 100'000});
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(run(request(), [&] { return capture->CaptureCount() == traffic.size(); }));

    EXPECT_EQ(result->status, Status::Captured);
    EXPECT_EQ(result->exit, Exit::EndCode);
    EXPECT_EQ(result->firmwareVersion, QStringLiteral("V1.05"));
    EXPECT_EQ(stream(), traffic + endCode);
    const QString stamp = result->data.CaptureTimestamp;
    EXPECT_TRUE(QRegularExpression(u"^\\d{4}年\\d\\d月\\d\\d日\\d\\d:\\d\\d:\\d\\d$"_s).match(stamp).hasMatch()) << stamp.toStdString();
    EXPECT_EQ(log, QStringLiteral("Ferrox LM V1.05   /dev/ttyUSB0:通信確認ＯＫ。\n"
                                  "Ferrox LM V1.05  9600bps\n"
                                  "モニター開始 ... モニター停止。\n"));
    // Check, speed, width, version, direction; the user's stop; the board
    // told to stop once more at the end, as after every capture.
    EXPECT_EQ(port->written, QByteArray("V4dVGEE"));
    const qsizetype firstStop = port->operations.indexOf(QStringLiteral("write 45"));
    EXPECT_NE(port->operations.value(firstStop - 1), QStringLiteral("discard")) << "the user's stop keeps the waiting bytes";
    EXPECT_TRUE(holderAtEnd == LinkUse::None && !board->engine().isStreaming());
}

TEST_F(ConsoleCaptureRun, TheLastStopLeavesAtTheLinkSpeedBeforeThePortCloses)
{
    makeBoard({.rate = 100'000});
    // The line takes 20 ms a command; ferrox-cli closes the link (putting
    // the port's settings back) as soon as the capture is over.
    QObject::connect(port, &FakeSerialPort::bytesWritten, port, [this] {
        ++port->unsent;
        QTimer::singleShot(20, port, [this] { --port->unsent; port->operations << QStringLiteral("sent"); });
    });
    QObject::connect(capture.get(), &ConsoleCapture::finished, owner.get(), &LinkOwner::shutdown);
    ASSERT_TRUE(run(request(), [&] { return capture->CaptureCount() > 0; }));
    QTest::qWait(50);
    EXPECT_EQ(port->operations.last(), QStringLiteral("close")) << port->operations.join(u'|').toStdString();
}

} // namespace
