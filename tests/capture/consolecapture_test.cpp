// A whole capture without a window against the board in-process: its check, texts, wire and last stop.
#include "capture/consolecapture.h"

#include "board/traffic.h"
#include "support/inprocessboard.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

// The user's stop keeps the whole stream; the last stop of the board then
// leaves at the link speed before the port closes.
TEST(ConsoleCaptureRun, TheUsersStopKeepsTheWholeStreamAndTheLastStopLeavesBeforeThePortCloses)
{
    InProcessBoard board{{.rate = 100'000}};
    FakeSerialPort *port = &board.port();
    LinkOwner owner(*port);
    ConsoleCapture capture(owner);
    std::optional<ConsoleCaptureResult> result;
    bool freeAtEnd = false;
    QString log;
    QObject::connect(&capture, &ConsoleCapture::logText, &capture, [&](const QString &text) { log += text; });
    QObject::connect(&capture, &ConsoleCapture::finished, &capture, [&](const ConsoleCaptureResult &r) {
        result = r;
        freeAtEnd = owner.isFree();
    });
    // The line takes 20 ms a command; ferrox-cli closes the link (putting
    // the port's settings back) as soon as the capture is over.
    QObject::connect(port, &FakeSerialPort::bytesWritten, port, [port] {
        ++port->unsent;
        QTimer::singleShot(20, port, [port] {
            --port->unsent;
            port->operations << QStringLiteral("sent");
        });
    });
    QObject::connect(&capture, &ConsoleCapture::finished, &owner, &LinkOwner::shutdown);
    const QByteArray traffic = demoTraffic();
    MonitorSettings settings;
    settings.port = QStringLiteral("/dev/ttyUSB0");
    capture.start(settings);
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.CaptureCount() == traffic.size(); }, 5000));
    capture.requestStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));

    EXPECT_EQ(result->status, ConsoleCaptureResult::Status::Captured);
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
