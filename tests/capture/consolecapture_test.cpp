// A whole capture without a window against the board in-process: its check, texts, wire and last stop.
#include "capture/consolecapture.h"

#include "board/traffic.h"
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

using Status = ConsoleCaptureResult::Status;

class ConsoleCaptureRun : public testing::Test
{
protected:
    ConsoleCaptureRun()
    {
        QObject::connect(capture.get(), &ConsoleCapture::logText, capture.get(), [this](const QString &text) { log += text; });
        QObject::connect(capture.get(), &ConsoleCapture::finished, capture.get(),
                         [this](const ConsoleCaptureResult &r) {
                             result = r;
                             freeAtEnd = owner->isFree();
                         });
    }
    // Runs the capture until stopWhen, when the user stops it, and then to its end.
    bool run(const std::function<bool()> &stopWhen)
    {
        MonitorSettings settings;
        settings.port = QStringLiteral("/dev/ttyUSB0");
        capture->start(settings);
        if (!QTest::qWaitFor(stopWhen, 5000))
            return false;
        capture->requestStop();
        return QTest::qWaitFor([&] { return result.has_value(); }, 5000);
    }

    InProcessBoard board{{.rate = 100'000}};
    FakeSerialPort *port = &board.port();
    std::unique_ptr<LinkOwner> owner = std::make_unique<LinkOwner>(*port);
    std::unique_ptr<ConsoleCapture> capture = std::make_unique<ConsoleCapture>(*owner);
    std::optional<ConsoleCaptureResult> result;
    bool freeAtEnd = false;
    QString log;
};

// The user's stop keeps the whole stream; the last stop of the board then
// leaves at the link speed before the port closes.
TEST_F(ConsoleCaptureRun, TheUsersStopKeepsTheWholeStreamAndTheLastStopLeavesBeforeThePortCloses)
{
    // The line takes 20 ms a command; ferrox-cli closes the link (putting
    // the port's settings back) as soon as the capture is over.
    QObject::connect(port, &FakeSerialPort::bytesWritten, port, [this] {
        ++port->unsent;
        QTimer::singleShot(20, port, [this] {
            --port->unsent;
            port->operations << QStringLiteral("sent");
        });
    });
    QObject::connect(capture.get(), &ConsoleCapture::finished, owner.get(), &LinkOwner::shutdown);
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(run([&] { return capture->CaptureCount() == traffic.size(); }));

    EXPECT_EQ(result->status, Status::Captured);
    EXPECT_EQ(result->ending.exit, CaptureExit::EndCode);
    EXPECT_EQ(result->firmwareVersion, QStringLiteral("V1.05"));
    EXPECT_EQ(result->data.capture.stream().toByteArray(), traffic + char(0xFF));
    EXPECT_TRUE(QRegularExpression(u"^\\d{4}年\\d\\d月\\d\\d日\\d\\d:\\d\\d:\\d\\d$"_s).match(result->data.CaptureTimestamp).hasMatch())
        << result->data.CaptureTimestamp.toStdString();
    EXPECT_EQ(log, QStringLiteral("Ferrox LM V1.05   /dev/ttyUSB0:通信確認ＯＫ。\n"
                                  "Ferrox LM V1.05  9600bps\n"
                                  "モニター開始 ... モニター停止。\n"));
    // Check, speed, width, version, direction; the user's stop; the board
    // told to stop once more at the end, as after every capture.
    EXPECT_EQ(port->written, QByteArray("V4dVGEE"));
    EXPECT_TRUE(freeAtEnd);
    EXPECT_FALSE(board.engine().isStreaming());
    QTest::qWait(50);
    EXPECT_EQ(port->operations.last(), QStringLiteral("close")) << port->operations.join(u'|').toStdString();
}

} // namespace
