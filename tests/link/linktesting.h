#pragma once

// Test doubles around the board link: a recording settings panel, a scripted board on a FakeSerialPort, and
// the link owner in front of that board.

#include "link/checkexchange.h"
#include "link/linkowner.h"
#include "link/linkpanel.h"
#include "support/fakeserialport.h"
#include "support/fakestores.h"
#include "support/printers.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace ferrox::test {

// The panel's inputs are plain fields; what the link did to it is kept,
// the order of the calls (with the texts the lists were given) in events.
class FakeLinkPanel : public LinkPanel
{
public:
    MonitorSettings settings() const override { return chosen; }
    CheckResults checkResults() const override { return results; }
    void setCheckResults(const CheckResults &written) override { results = written; }
    void setPortText(const QString &text) override { chosen.port = text; }
    void showLinkLines(bool, bool) override { events << QStringLiteral("lines"); }
    void offerFeatures(const FirmwareFeatures &features) override
    {
        offered = features;
        events << QStringLiteral("features");
    }
    void setSamplingEnabled(bool enabled) override
    {
        sampling = enabled;
        events << (enabled ? QStringLiteral("timer on") : QStringLiteral("timer off"));
    }
    bool simpleMonitorOn() const override { return simpleMonitor; }
    bool monitorBusy() const override { return busy; }
    StatusPanel &statusPanel() override { return status; }

    MonitorSettings chosen;
    CheckResults results;
    bool simpleMonitor = false, busy = false;

    std::optional<FirmwareFeatures> offered; // none until a check offers some
    QStringList events;
    bool sampling = false;
    RecordingStatus status;
};

// Answers commands written to the port with scripted bytes, each chunk
// arriving separately from the event loop.
class ScriptedBoard : public QObject
{
public:
    explicit ScriptedBoard(FakeSerialPort &port) : m_port(port)
    {
        connect(&port, &FakeSerialPort::bytesWritten, this, [this](const QByteArray &bytes) {
            for (char c : bytes)
                for (const QByteArray &chunk : answers.value(static_cast<std::uint8_t>(c)))
                    m_port.deliver(chunk);
        });
    }
    void answer(std::uint8_t command, QList<QByteArray> chunks) { answers.insert(command, chunks); }

    QHash<std::uint8_t, QList<QByteArray>> answers;

private:
    FakeSerialPort &m_port;
};

// A port log written as "discard|threshold 0|write 56".
inline QStringList ops(const char *log) { return QString::fromUtf8(log).split(u'|'); }

// Starts an exchange with a done callback and waits for its outcome.
template<typename Outcome, typename Start>
std::optional<Outcome> await(Start start)
{
    std::optional<Outcome> outcome;
    start(std::function<void(const Outcome &)>([&outcome](const Outcome &o) { outcome = o; }));
    (void)QTest::qWaitFor([&] { return outcome.has_value(); }, 4000);
    return outcome;
}

// A version reply of our board: its name, the firmware, padding up to length bytes.
inline QByteArray versionReply(const QByteArray &firmware, int length = 22)
{
    return (QByteArrayLiteral("Ferrox LM ") + firmware + QByteArrayLiteral("  9600\r")).leftJustified(length, '.', true);
}

// The link owner in front of a scripted board, its port still closed.
class LinkFixture : public testing::Test
{
protected:
    // The port as a good check leaves it: open, log cleared.
    void openPort()
    {
        port.open();
        port.operations.clear();
    }
    bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 3000); }
    // A check that lets go of the link at its end, or with keep holds it until checkLease.end().
    bool startCheck(std::optional<CheckOutcome> &outcome, bool keep = false, const CheckRequest &request = {})
    {
        return owner.request(CheckLinkRequest, [&, keep, request](const LinkLease &lease) {
            checkLease = lease;
            checkLink(lease, request, {{}, {}, [&, keep, lease](const CheckOutcome &o) {
                outcome = o;
                if (!keep)
                    lease.end();
            }});
        });
    }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
    LinkLease checkLease;
};

} // namespace ferrox::test
