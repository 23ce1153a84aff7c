// The connection check on the wire and how it ends on bad answers; and the
// link owner letting one request at a time have the port.
#include "link/consolecheck.h"
#include "linktesting.h"

#include <QElapsedTimer>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class Exchanges : public LinkFixture
{
protected:
    std::optional<CheckOutcome> check(const CheckRequest &request = {})
    {
        std::optional<CheckOutcome> outcome;
        startCheck(outcome, false, request);
        (void)QTest::qWaitFor([&] { return outcome.has_value(); }, 4000);
        return outcome;
    }
};

// A long reply in pieces is read whole; a short one is no answer.
TEST_F(Exchanges, CheckRepliesAreReadWholeAndJudged)
{
    openPort();
    const QByteArray long30 = versionReply("V1.05", 30);
    board.answer(CMD_VERSION, {long30.left(12), long30.mid(12)});
    EXPECT_EQ(check()->reply, long30);
    board.answer(CMD_VERSION, {versionReply("V1.05", 21)});
    EXPECT_EQ(check()->status, CheckOutcome::Status::NoAnswer);
}

// A name no port can have fails before the port is touched; a query that
// cannot be written and a port that vanishes while the check waits end it
// at once as port failures.
TEST_F(Exchanges, CheckPortFailuresEndItAtOnce)
{
    EXPECT_EQ(check({QStringLiteral("COM0")})->errorCode, InvalidPortError);
    EXPECT_TRUE(port.operations.isEmpty());
    QObject::connect(&port, &FakeSerialPort::bytesWritten, &port, [this] { port.raiseLineError(9); });
    for (const int errorCode : {7, 9}) {
        port.failWrites = errorCode == 7;
        QElapsedTimer clock;
        clock.start();
        const auto outcome = check();
        EXPECT_EQ(outcome->status, CheckOutcome::Status::PortFailed) << errorCode;
        EXPECT_EQ(outcome->errorCode, errorCode);
        EXPECT_LT(clock.elapsed(), 900) << errorCode;
    }
}

// The check for programs without a window: what a terminal is told, on
// one line with the reason in words (a verified board's lines are the
// command-line test's).
TEST_F(Exchanges, ConsoleCheckTellsAMissingPortWithLinesEndedByLF)
{
    port.missingPorts.insert(1);
    const auto result = await<ConsoleCheckResult>(
        [&](auto done) { runConsoleCheck(owner, {}, QStringLiteral("/dev/ttyUSB0"), done); });
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->verified);
    EXPECT_EQ(result->text, QStringLiteral("/dev/ttyUSB0 は使用できませんでした。デバイスが見つかりません。\n"));
}

// One request at a time: who waits, who is skipped, who is refused, who
// gives way, and what the program's close sends.
class Arbitration : public Exchanges
{
protected:
    Arbitration()
    {
        openPort();
        board.answer(CMD_VERSION, {versionReply("V1.05")});
    }
    // A request that holds the link until its lease is ended; its kind
    // writes its name when granted.
    bool hold(const LinkRequest &request, LinkLease &lease)
    {
        return owner.request(request, [&, request](const LinkLease &granted) {
            lease = granted;
            lease.port().write(QByteArray(request.kind.data(), qsizetype(request.kind.size())));
        });
    }
    const LinkRequest sample{"s", true, false, false, {}};
    const LinkRequest stream{"y", false, false, true, QByteArray("E")};
    LinkLease first, second;
};

TEST_F(Arbitration, WhileACheckWaitsASkippableRequestIsSkippedAndASecondCheckRefused)
{
    std::optional<CheckOutcome> outcome, refused;
    ASSERT_TRUE(startCheck(outcome));
    EXPECT_TRUE(owner.pending(CheckKind));
    EXPECT_FALSE(hold(sample, first));
    EXPECT_FALSE(startCheck(refused));
    ASSERT_TRUE(waitFor([&] { return outcome.has_value(); }));
    QTest::qWait(50);
    // The one query, the one reply, read by the first check.
    EXPECT_EQ(port.written, "V");
    EXPECT_EQ(outcome->status, CheckOutcome::Status::Verified);
    EXPECT_FALSE(refused);
    EXPECT_FALSE(owner.pending(CheckKind));
}

TEST_F(Arbitration, RequestsFindingTheLinkHeldRunInOrderOfArrival)
{
    std::optional<CheckOutcome> outcome;
    ASSERT_TRUE(startCheck(outcome, true));
    hold({"a"}, first);
    hold({"b"}, second);
    ASSERT_TRUE(waitFor([&] { return outcome.has_value(); }));
    // The check keeps the link after its reply until its lease ends.
    QTest::qWait(50);
    EXPECT_EQ(port.written, QByteArray("V"));
    checkLease.end();
    // Free until the next in line takes it: a skippable request must not
    // jump the queue.
    LinkLease skipped;
    EXPECT_FALSE(hold(sample, skipped));
    ASSERT_TRUE(waitFor([&] { return first.isHeld(); }));
    QTest::qWait(50);
    EXPECT_EQ(port.written, QByteArray("Va"));
    first.end();
    first.end(); // a lease ends once: the next holder keeps the link
    ASSERT_TRUE(waitFor([&] { return second.isHeld(); }));
    EXPECT_EQ(port.written, QByteArray("Vab"));
}

TEST_F(Arbitration, AYieldingHolderGivesWayToAllButASkippableRequest)
{
    ASSERT_TRUE(hold(stream, first));
    EXPECT_FALSE(hold(sample, second));
    std::optional<CheckOutcome> outcome;
    ASSERT_TRUE(startCheck(outcome));
    EXPECT_FALSE(first.isHeld());
    ASSERT_TRUE(waitFor([&] { return outcome.has_value(); }));
    EXPECT_TRUE(owner.isFree());
}

TEST_F(Arbitration, ShutdownSendsTheHoldersBytesAndClosesThePortOnce)
{
    hold(stream, first);
    port.operations.clear();
    owner.shutdown();
    owner.shutdown();
    EXPECT_EQ(port.operations, ops("write 45|close"));
    EXPECT_FALSE(first.isHeld());
}

TEST_F(Arbitration, ShutdownWhileACheckWaitsDropsItQuietly)
{
    board.answers.clear();
    std::optional<CheckOutcome> outcome;
    startCheck(outcome);
    hold(stream, first);
    owner.shutdown();
    QTest::qWait(1200);
    EXPECT_FALSE(outcome);
    EXPECT_FALSE(first.isHeld());
    EXPECT_FALSE(port.isOpen());
}

} // namespace
