// A measurement on the link: CMD_STOP on every way out, and no wait on a
// closed port. (Results through the window and ferrox-cli: e2e/measure_test.)
#include "speed/measurementrun.h"
#include "speed/texts.h"

#include "link/linkowner.h"
#include "support/fakeserialport.h"

#include <QSerialPort>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST(MeasurementRun, EveryWayOutOfARunningMeasurementSendsTheStop)
{
    enum class Way { StopRequest, PortLost, Destroyed };
    const struct { Way way; std::optional<MeasurementReport::Status> status; } rows[] = {
        {Way::StopRequest, MeasurementReport::Status::Stopped},
        {Way::PortLost, MeasurementReport::Status::PortFailed},
        {Way::Destroyed, std::nullopt},
    };
    for (const auto &row : rows) {
        FakeSerialPort port; // a board that sends only what the test gives
        port.open();
        LinkOwner owner(port);
        auto run = std::make_unique<MeasurementRun>(owner);
        QString progress;
        std::optional<MeasurementReport> report;
        QObject::connect(run.get(), &MeasurementRun::progressed, [&](const QString &t) { progress = t; });
        QObject::connect(run.get(), &MeasurementRun::finished, [&](const MeasurementReport &r) { report = r; });
        run->start();
        port.deliver(QByteArray(37, '\x10'));
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress == speedtext::progress(QStringLiteral("18.5")); }, 3000));

        if (row.way == Way::StopRequest)
            run->stop();
        if (row.way == Way::PortLost) {
            port.raiseLineError(QSerialPort::UnknownError); // not a reason to stop
            port.raiseLineError(QSerialPort::ResourceError);
        }
        if (row.way == Way::Destroyed)
            run.reset();
        QTest::qWait(20);
        EXPECT_EQ(report ? std::optional(report->status) : std::nullopt, row.status);
        EXPECT_EQ(port.written, QByteArray("ME"));
    }
}

TEST(MeasurementRun, AClosedPortIsReportedWithoutWaiting)
{
    FakeSerialPort port;
    LinkOwner owner(port);
    MeasurementRun run(owner);
    std::optional<MeasurementReport> report;
    QObject::connect(&run, &MeasurementRun::finished, [&](const MeasurementReport &r) { report = r; });
    run.start();
    EXPECT_TRUE(report && port.written.isEmpty());
}

} // namespace
