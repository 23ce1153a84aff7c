#include "signals/signalsampler.h"
#include "signals/texts.h"

#include "link/linkowner.h"
#include "link/linktesting.h"
#include "link/protocol.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class Sampling : public ::testing::Test
{
protected:
    // Runs one tick and waits until it has ended.
    void tickAndWait()
    {
        sampler.tick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sampler.indicatorLit(); }, 3000));
    }
    QString images() const
    {
        QString shown;
        for (int i = 0; i < SignalSampler::LampCount; ++i)
            shown += QLatin1Char("GBR"[static_cast<int>(sampler.lampImage(i))]);
        return shown;
    }
    QString tags() const
    {
        QStringList all;
        for (int i = 0; i < SignalSampler::LampCount; ++i)
            all << sampler.lampTag(i);
        return all.join(u',');
    }

    FakeSerialPort port;
    ScriptedBoard board{port};
    LinkOwner owner{port};
    RecordingStatus status;
    SignalSampler sampler{owner, status};
};

QString readout(const char *marks)
{
    const QStringList names = SignalTexts::names();
    QString line;
    for (int i = 0; i < 8; ++i)
        line += names.at(i) + (marks[i] == '1' ? QStringLiteral("◎ ") : QStringLiteral("● "));
    return line + QStringLiteral("\r\n");
}

} // namespace

TEST_F(Sampling, LampsTagsAndReadoutFollowTheStateByte)
{
    // Before any sample every lamp is grey, untagged, and reads as not asserted.
    EXPECT_EQ(images(), QStringLiteral("GGGGGGGG"));
    EXPECT_EQ(tags(), QStringLiteral(",,,,,,,"));
    EXPECT_EQ(sampler.readoutLine(), readout("00000000"));

    struct Row
    {
        std::uint8_t mask;
        const char *images; // bit 0 first
        const char *active;
    };
    const Row rows[] = {
        {0xFF, "BBBBBBBB", "00000000"},
        {0x00, "RRRRRRRR", "11111111"},
        {0x7F, "BBBBBBBR", "00000001"}, // RIN only
        {0xA5, "BRBRRBRB", "01011010"}, // RxD, DTR, DSR and CTS
    };
    for (const Row &row : rows) {
        board.answer(CMD_SIGNALS, {QByteArray(1, static_cast<char>(row.mask)) + '\x11'});
        QSignalSpy sampled(&sampler, &SignalSampler::sampled);
        tickAndWait();
        EXPECT_EQ(sampled.count(), 1);
        EXPECT_EQ(images(), QLatin1String(row.images)) << int(row.mask);
        EXPECT_EQ(sampler.readoutLine(), readout(row.active)) << int(row.mask);
    }
    EXPECT_EQ(tags(), QStringLiteral("0,1,0,1,1,0,1,0"));
    EXPECT_EQ(sampler.readoutLine(),
              QStringLiteral("DCD● RxD◎ TxD● DTR◎ DSR◎ RTS● CTS◎ RIN● \r\n"));

    // Bytes after the first are ignored, whatever they are.
    board.answer(CMD_SIGNALS, {QByteArray("\xFE\xFF\x00garbage", 10)});
    tickAndWait();
    EXPECT_EQ(images(), QStringLiteral("RBBBBBBB"));

    // The panel's two looks change images only.
    sampler.DisableSignalPanel();
    EXPECT_EQ(images(), QStringLiteral("GGGGGGGG"));
    EXPECT_FALSE(sampler.panelEnabled());
    sampler.EnableSignalPanel();
    EXPECT_EQ(images(), QStringLiteral("BBBBBBBB"));
    EXPECT_EQ(sampler.readoutLine(), readout("10000000"));
}

TEST_F(Sampling, ABoardThatDoesNotAnswerTwoBytesOrAPortThatWillNotOpenStopsSampling)
{
    const QList<QList<QByteArray>> answers{{QByteArray("\x00", 1)}, {}};
    for (const QList<QByteArray> &answer : answers) {
        board.answer(CMD_SIGNALS, {QByteArray("\x00\x00", 2)});
        sampler.setSamplingEnabled(true);
        tickAndWait();
        ASSERT_EQ(images(), QStringLiteral("RRRRRRRR"));

        board.answer(CMD_SIGNALS, answer);
        status.texts.clear();
        QSignalSpy stopped(&sampler, &SignalSampler::stoppedOnError);
        tickAndWait();
        EXPECT_EQ(stopped.count(), 1);
        EXPECT_EQ(status.texts, QStringList{SignalTexts::samplingStopped()});
        EXPECT_FALSE(status.progressVisible);
        EXPECT_FALSE(sampler.isSamplingEnabled());
        EXPECT_EQ(images(), QStringLiteral("GGGGGGGG"));
        EXPECT_EQ(tags(), QStringLiteral("0,0,0,0,0,0,0,0"));
        EXPECT_EQ(sampler.readoutLine(), readout("00000000"));
        EXPECT_EQ(owner.holder(), LinkUse::None);
    }

    // Sampling stays off until it is switched on again (a good check).
    board.answer(CMD_SIGNALS, {QByteArray("\xFE\x00", 2)});
    port.written.clear();
    QTest::qWait(SignalSampler::PeriodMs * 2);
    EXPECT_TRUE(port.written.isEmpty());
    sampler.setSamplingEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sampler.lampImage(0) == LampImage::Red; }, 2000));

    port.close();
    port.missingPorts.insert(1);
    tickAndWait();
    EXPECT_FALSE(sampler.isSamplingEnabled());
    EXPECT_EQ(images(), QStringLiteral("GGGGGGGG"));
}

TEST_F(Sampling, ATickFindingTheLinkBusyIsSkippedAndTicksNeverOverlap)
{
    ASSERT_TRUE(owner.request(LinkUse::Measurement, [] {}));
    tickAndWait();
    EXPECT_TRUE(port.written.isEmpty());
    owner.release(LinkUse::Measurement);

    board.answer(CMD_SIGNALS, {QByteArray("\x00\x00", 2)});
    sampler.tick();
    sampler.tick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sampler.indicatorLit(); }, 3000));
    EXPECT_EQ(port.written, QByteArray("S"));
}
