#include "signals/signalsample.h"
#include "signals/signalsampler.h"
#include "signals/texts.h"

#include "link/linkowner.h"
#include "link/linktesting.h"
#include "link/protocol.h"
#include "session/monitorsession.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

class Sampling : public ::testing::Test
{
protected:
    // One tick, waited for; then the lamps as letters, bit 0 first: G grey, B black, R red.
    QString tickAndShow(const QList<QByteArray> &answer)
    {
        board.answer(CMD_SIGNALS, answer);
        sampler.tick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !sampler.indicatorLit(); }, 3000));
        return lamps();
    }
    QString lamps() const
    {
        QString shown;
        for (int i = 0; i < SignalSampler::LampCount; ++i)
            shown += QLatin1Char("GBR"[static_cast<int>(sampler.lampImage(i))]);
        return shown;
    }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
    RecordingStatus status;
    MonitorSession session;
    SignalSampler sampler{owner, session, status};
};

// The readout for the active signals marked '1', bit 0 first.
QString readout(const char *active)
{
    QString line;
    for (int i = 0; i < 8; ++i)
        line += SignalTexts::names().at(i) + (active[i] == '1' ? u"◎ "_s : u"● "_s);
    return line + u"\r\n"_s;
}

QByteArray reply(std::uint8_t mask) { return QByteArray(1, static_cast<char>(mask)) + '\x11'; }

} // namespace

TEST_F(Sampling, LampsAndReadoutFollowTheStateByteAndThePanelChangesImagesOnly)
{
    // Never sampled: grey, untagged, read as not asserted.
    EXPECT_EQ(lamps(), u"GGGGGGGG"_s);
    EXPECT_EQ(sampler.lampTag(0), QString());
    EXPECT_EQ(sampler.readoutLine(), readout("00000000"));

    for (const auto &[mask, images, active] : {std::tuple<std::uint8_t, const char *, const char *>{0xFF, "BBBBBBBB", "00000000"},
                                               {0xA5, "BRBRRBRB", "01011010"}}) { // RxD, DTR, DSR, CTS
        EXPECT_EQ(tickAndShow({reply(mask)}), QLatin1String(images)) << int(mask);
        EXPECT_EQ(sampler.readoutLine(), readout(active)) << int(mask);
    }
    EXPECT_EQ(sampler.lampTag(1), u"1"_s);

    sampler.DisableSignalPanel();
    EXPECT_EQ(lamps(), u"GGGGGGGG"_s);
    EXPECT_FALSE(sampler.panelEnabled());
    sampler.EnableSignalPanel();
    EXPECT_EQ(lamps(), u"BBBBBBBB"_s);
    EXPECT_EQ(sampler.readoutLine(), readout("01011010"));
}

TEST_F(Sampling, NoTwoByteAnswerOrAPortThatWillNotOpenStopsSamplingUntilSwitchedOnAgain)
{
    // No answer at all (a one-byte answer is the same failure of the exchange, below).
    sampler.setSamplingEnabled(true);
    ASSERT_EQ(tickAndShow({reply(0x00)}), u"RRRRRRRR"_s);
    QSignalSpy stopped(&sampler, &SignalSampler::stoppedOnError);
    EXPECT_EQ(tickAndShow({}), u"GGGGGGGG"_s);
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_EQ(status.texts.size(), 1);
    EXPECT_FALSE(sampler.isSamplingEnabled());
    EXPECT_EQ(sampler.readoutLine(), readout("00000000"));
    board.answer(CMD_SIGNALS, {reply(0xFE)});
    EXPECT_EQ(sampler.samplingTimer().timerType(), Qt::PreciseTimer); // a coarse one samples every 325 ms
    port.written.clear();
    QTest::qWait(SignalSampler::PeriodMs * 2);
    EXPECT_TRUE(port.written.isEmpty());
    sampler.setSamplingEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sampler.lampImage(0) == LampImage::Red; }, 2000));

    // A tick that cannot open the port.
    port.close();
    port.missingPorts.insert(1);
    EXPECT_EQ(tickAndShow({}), u"GGGGGGGG"_s);
    EXPECT_FALSE(sampler.isSamplingEnabled());
}

// A reply still on its way when a capture starts (or the simple monitor
// opens: which phases grey the lamps is the session's) must not colour the
// lamps beside the greyed panel; a tick in such a phase asks the board nothing.
TEST_F(Sampling, TheLampsStayGreyWhileACaptureOrTheSimpleMonitorRuns)
{
    board.answer(CMD_SIGNALS, {}); // the reply is held back
    sampler.tick();
    session.capture().beginStart();
    sampler.DisableSignalPanel();
    port.deliver(reply(0x00));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sampler.indicatorLit(); }, 3000));
    EXPECT_EQ(lamps(), u"GGGGGGGG"_s);
    EXPECT_EQ(sampler.lampTag(0), u"1"_s);

    port.written.clear();
    sampler.tick();
    QTest::qWait(20);
    EXPECT_EQ(port.written, QByteArray());
}

TEST_F(Sampling, ASampleTakesTheFirstByteOrFails)
{
    board.answer(CMD_SIGNALS, {QByteArray("\x7F"), QByteArray("\x00\x11", 2)});
    const auto sample = [&] {
        return await<SampleOutcome>([&](auto done) {
            sampleSignals(owner, [done](const SampleOutcome &o, const LinkLease &) { done(o); });
        });
    };
    const auto outcome = sample();
    EXPECT_EQ(outcome->status, SampleOutcome::Status::Sampled);
    EXPECT_EQ(outcome->stateByte, std::uint8_t(0x7F));
    EXPECT_EQ(port.operations, ops("open 1|threshold 0|discard|write 53|read 3"));
    EXPECT_TRUE(owner.isFree());

    board.answer(CMD_SIGNALS, {QByteArray("\x7F")});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(sample()->status, SampleOutcome::Status::NoAnswer);
    EXPECT_GE(clock.elapsed(), 1000);
}
