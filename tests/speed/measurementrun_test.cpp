// A measurement on the link: the result from the board's records, and
// CMD_STOP on every way out.
#include "speed/consolemeasurement.h"
#include "speed/measurementrun.h"
#include "speed/texts.h"

#include "link/linkowner.h"
#include "support/inprocessboard.h"

#include <QSerialPort>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace ferrox;
using namespace ferrox::test;

namespace {

struct Measuring
{
    explicit Measuring(SerialPort &port) : owner(port)
    {
        QObject::connect(run.get(), &MeasurementRun::progressed, [this](const QString &t) { progress << t; });
        QObject::connect(run.get(), &MeasurementRun::finished, [this](const MeasurementReport &r) { report = r; });
    }
    bool waitForReport() { return QTest::qWaitFor([this] { return report.has_value(); }, 5000); }

    LinkOwner owner;
    std::unique_ptr<MeasurementRun> run = std::make_unique<MeasurementRun>(owner);
    QStringList progress;
    std::optional<MeasurementReport> report;
};

TEST(MeasurementRun, EveryWayOutOfARunningMeasurementSendsTheStop)
{
    enum class Way { StopRequest, PortLost, Destroyed };
    for (const Way way : {Way::StopRequest, Way::PortLost, Way::Destroyed}) {
        FakeSerialPort port; // a board that sends only what the test gives
        port.open();
        Measuring m(port);
        m.run->start();
        port.deliver(QByteArray(37, '\x10'));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return m.progress.last() == speedtext::progress(QStringLiteral("18.5")); }, 3000));

        if (way == Way::StopRequest) {
            m.run->stop();
            ASSERT_TRUE(m.waitForReport());
            EXPECT_EQ(m.report->status, MeasurementReport::Status::Stopped);
            EXPECT_EQ(m.report->text, speedtext::stopped());
        } else if (way == Way::PortLost) {
            port.raiseLineError(QSerialPort::UnknownError); // not a reason to stop
            port.raiseLineError(QSerialPort::ResourceError);
            ASSERT_TRUE(m.waitForReport());
            EXPECT_EQ(m.report->status, MeasurementReport::Status::PortFailed);
            EXPECT_EQ(m.report->text, speedtext::portLost());
        } else {
            m.run.reset();
        }
        EXPECT_EQ(port.written, QByteArray("ME"));
        EXPECT_EQ(port.bytesWaiting(), 0);
    }
}

TEST(MeasurementRun, AClosedPortIsReportedWithoutWaiting)
{
    FakeSerialPort port;
    Measuring m(port);
    m.run->start();
    ASSERT_TRUE(m.report.has_value());
    EXPECT_EQ(m.report->status, MeasurementReport::Status::PortFailed);
    EXPECT_EQ(m.report->text, speedtext::portClosed());
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_FALSE(m.run->isRunning());
}

TEST(ConsoleMeasurement, MeasuresOnlyWhatTheCheckedFirmwareOffers)
{
    const struct {
        const char *name;
        BoardConfig board;
        bool stop;
        ConsoleMeasurementResult::Status status;
        QByteArray written;
    } rows[] = {
        {"V1.05", {.firmware = "V1.05"}, false, ConsoleMeasurementResult::Status::Measured, "VME"},
        {"V1.03", {.firmware = "V1.03"}, false, ConsoleMeasurementResult::Status::NotOffered, "V"},
        {"silent", {.silent = true}, false, ConsoleMeasurementResult::Status::LinkFailed, "V"},
        {"stopped", {.measureCounts = {}}, true, ConsoleMeasurementResult::Status::Stopped, "VME"},
    };
    for (const auto &row : rows) {
        InProcessBoard board(row.board);
        LinkOwner owner(board.port());
        ConsoleMeasurement measurement(owner);
        std::optional<ConsoleMeasurementResult> result;
        QObject::connect(&measurement, &ConsoleMeasurement::finished, [&](const ConsoleMeasurementResult &r) { result = r; });
        if (row.stop)
            QObject::connect(&measurement, &ConsoleMeasurement::measuring, &measurement, &ConsoleMeasurement::requestStop,
                             Qt::QueuedConnection);
        measurement.start({}, QStringLiteral("COM1"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000)) << row.name;
        EXPECT_EQ(result->status, row.status) << row.name;
        EXPECT_EQ(board.port().written, row.written) << row.name;
        EXPECT_TRUE(result->text.endsWith(u'\n')) << row.name;
        if (row.status == ConsoleMeasurementResult::Status::Measured) {
            EXPECT_EQ(result->text, QStringLiteral("モニターライン通信速度の測定結果\n \n \n    9600bps\n \n"));
        }
    }
}

} // namespace
