// Where the framer ends frames: changes of direction, idle gaps measured
// from the arrival times, and what it does when the times are missing,
// identical, running backwards or too coarse.
#include "framestesting.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// Leaves the frames as the framer cut them.
class NoDecoder : public FrameDecoder
{
public:
    explicit NoDecoder(qsizetype longest = 4096) : m_longest(longest) {}
    qsizetype maxFrameLength() const override { return m_longest; }
    void decodeFrames(QList<Frame> &) const override {}

private:
    qsizetype m_longest;
};

FrameList framed(const TimedStream &stream, std::optional<qint64> gapMicros = 1000, qsizetype longest = 4096)
{
    FramerOptions options;
    options.gapMicros = gapMicros;
    return buildFrames(stream.bytes, stream.times, NoDecoder(longest), options);
}

constexpr Direction J1 = Direction::J1;
constexpr Direction J2 = Direction::J2;

struct CutCase
{
    const char *name;
    QList<TimedByte> bytes;
    std::string frames;
};

} // namespace

TEST(Framer, CutsAtDirectionChangesAndAtGapsOfAtLeastTheSetting)
{
    const CutCase cases[] = {
        {"one side, no gap", {{J1, 0x41, 0}, {J1, 0x42, 999}}, "J1 41 42"},
        {"a gap of exactly the setting", {{J1, 0x41, 0}, {J1, 0x42, 1000}}, "J1 41 / J1 42"},
        {"a change of direction without a gap", {{J1, 0x41, 0}, {J2, 0x42, 0}, {J2, 0x43, 10}}, "J1 41 / J2 42 43"},
        {"identical times", {{J1, 1, 500}, {J1, 2, 500}, {J1, 3, 500}}, "J1 01 02 03"},
        {"times running backwards", {{J1, 1, 5000}, {J1, 2, 1000}, {J1, 3, 1200}}, "J1 01 02 03"},
        {"bytes before the first time", {{J1, 1, std::nullopt}, {J1, 2, std::nullopt}, {J1, 3, 9000}}, "J1 01 02 03"},
        {"gaps and changes together",
         {{J1, 1, 0}, {J1, 2, 2000}, {J2, 3, 2100}, {J2, 4, 2200}, {J2, 5, 9000}, {J1, 6, 9000}},
         "J1 01 / J1 02 / J2 03 04 / J2 05 / J1 06"},
    };
    for (const CutCase &c : cases)
        EXPECT_EQ(framesText(framed(timedStream(c.bytes))), c.frames) << c.name;
}

TEST(Framer, WithoutTimesCutsAtDirectionChangesAndSaysSo)
{
    const TimedStream stream = timedStream({{J1, 1, 0}, {J1, 2, 50000}, {J2, 3, 60000}}, false);
    const FrameList list = framed(stream);
    EXPECT_EQ(framesText(list), "J1 01 02 / J2 03");
    EXPECT_FALSE(list.timed);
    EXPECT_EQ(list.notes(), QStringList {QStringLiteral("到着時刻がないため、フレームは方向の切り替わりだけで区切りました。")});
    EXPECT_FALSE(list.frames.at(1).gapMicros.has_value());
}

TEST(Framer, TimesRunningBackwardsGiveAZeroGapAndANote)
{
    const FrameList list = framed(timedStream({{J1, 1, 5000}, {J2, 2, 4000}, {J2, 3, 4100}}));
    ASSERT_EQ(list.frames.size(), 2);
    EXPECT_EQ(list.frames.at(1).gapMicros, 0);
    EXPECT_EQ(list.backwardsAt, 1);
    EXPECT_TRUE(list.notes().contains(QStringLiteral("到着時刻が1バイト目で逆戻りしています。逆戻りした間隔は0として扱いました。")));
}

TEST(Framer, TheDefaultGapIsThreeAndAHalfCharacterTimes)
{
    const struct
    {
        qint32 baud;
        int bits;
        qint64 micros;
    } cases[] = {{9600, 10, 3646}, {9600, 11, 4011}, {115200, 10, 304}, {300, 10, 116667}};
    for (const auto &c : cases) {
        FramerOptions options;
        options.monitoredBaud = c.baud;
        options.bitsPerCharacter = c.bits;
        EXPECT_EQ(options.effectiveGapMicros(), c.micros) << c.baud << " baud, " << c.bits << " bits";
    }
}

// Modbus RTU counts 11 bits a character whatever the monitored width, and
// above 19,200 baud its silence is a fixed 1.75 ms; the other protocols
// keep the line's own width.
TEST(Framer, TheModbusRtuGapFollowsItsOwnTimingRule)
{
    const struct
    {
        const char *decoder;
        qint32 baud;
        qint64 micros;
    } cases[] = {{"modbus-rtu", 9600, 4011}, {"modbus-rtu", 19200, 2006}, {"modbus-rtu", 19201, 1750},
                 {"modbus-rtu", 57600, 1750}, {"lines", 57600, 608}};
    for (const auto &c : cases) {
        FramerOptions options;
        options.monitoredBaud = c.baud;
        EXPECT_EQ(options.effectiveGapMicros(*makeDecoder(QLatin1String(c.decoder))), c.micros)
            << c.decoder << " at " << c.baud << " baud";
    }
    FramerOptions set;
    set.gapMicros = 5000;
    EXPECT_EQ(set.effectiveGapMicros(*makeDecoder(QStringLiteral("modbus-rtu"))), 5000) << "the user's gap holds";
    // 1.5 ms from the end of 03 to the start of 04: a gap at the line's 0.608 ms, none at Modbus's 1.75 ms.
    const TimedStream stream = timedStream({{J1, 1, 0}, {J1, 2, 100}, {J1, 3, 200}, {J1, 4, 1874}});
    FramerOptions fast;
    fast.monitoredBaud = 57600;
    EXPECT_EQ(framesText(buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")), fast)),
              "J1 01 02 03 04");
    EXPECT_EQ(framesText(buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("lines")), fast)),
              "J1 01 02 03 / J1 04");
}

// Pieces arrive every 16 ms, as a USB adapter with its default latency
// delivers: the default gap cannot be seen, so only a silence longer than
// the gap plus the times' blur (their resolution) cuts; a gap the user set
// still cuts as set.
TEST(Framer, TimesCoarserThanTheGapCutOnlyAtClearSilencesUnlessTheUserSetTheGap)
{
    QList<TimedByte> bytes;
    for (int i = 0; i < 3; ++i)
        bytes.append({J1, std::uint8_t(i), i * 16000});
    bytes.append({J1, 3, 64000}); // 32 ms after the last piece, less the byte's own 1.042 ms
    bytes.append({J1, 4, 80000});
    const TimedStream stream = timedStream(bytes);
    const struct { const char *name; std::optional<qint64> gap; std::string frames; QString note; } cases[] = {
        {"the default gap", std::nullopt, "J1 00 01 02 / J1 03 04",
         QStringLiteral("到着時刻の分解能(約16.000ms)が区切りの間隔(3.646ms)より粗いため、"
                        "間隔では19.646ms以上の無通信だけで区切り、ほかは方向の切り替わりとメッセージの終わりで区切りました。")},
        {"the user's gap", 4000, "J1 00 / J1 01 / J1 02 / J1 03 / J1 04",
         QStringLiteral("到着時刻の分解能(約16.000ms)が区切りの間隔(4.000ms)より粗いため、間隔での区切りは確かではありません。")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const FrameList list = framed(stream, c.gap);
        EXPECT_EQ(list.resolutionMicros, 16000);
        EXPECT_EQ(framesText(list), c.frames);
        EXPECT_EQ(list.notes(), QStringList{c.note});
    }
}

// Sparse traffic arrives in one read per message: most steps between
// arrivals are the traffic's own period, and only the shortest steady
// ones tell how fine the times are.
TEST(Framer, TheResolutionIsTheShortestSteadyStepBetweenArrivals)
{
    const struct { const char *name; QList<qint64> arrivals; std::optional<qint64> resolution; } cases[] = {
        {"a poll every 100 ms answered after 10 ms", {0, 100000, 110000}, 10000},
        {"one odd short step among steady ones", {0, 16000, 32000, 32100, 48100, 64100, 80100, 96100}, 16000},
        {"a single arrival", {5000}, std::nullopt},
    };
    for (const auto &c : cases) {
        QList<TimedByte> bytes;
        for (const qint64 micros : c.arrivals)
            bytes.append({J1, 0x41, micros});
        EXPECT_EQ(framed(timedStream(bytes), std::nullopt).resolutionMicros, c.resolution) << c.name;
    }
}

// A reader that lagged 20 ms behind the line gets its backlog in pieces
// that arrive faster than the line could carry them: no silence, however
// long the step before them looks.
TEST(Framer, ABacklogAfterAStalledReadShowsNoSilence)
{
    QList<TimedByte> bytes;
    for (int i = 0; i < 5; ++i)
        bytes.append({J1, std::uint8_t(i), i * 1000});
    bytes += sentAt(J1, QByteArray(4, 'a'), 24000);
    bytes += sentAt(J1, QByteArray(20, 'b'), 24100);
    bytes += sentAt(J1, QByteArray(1, 'c'), 60000); // a real silence after them
    EXPECT_EQ(framed(timedStream(bytes), std::nullopt).frames.size(), 2);
}

TEST(Framer, CutsOverLongFramesAtTheDecodersLongestAndCountsThem)
{
    const FrameList list = framed(timedStream(sentAt(J2, QByteArray(10, 'x'), 0)), 1000, 4);
    EXPECT_EQ(framesText(list), "J2 78 78 78 78 / J2 78 78 78 78 / J2 78 78");
    EXPECT_EQ(list.overLongCount, 2);
    EXPECT_TRUE(list.frames.at(0).overLong);
    EXPECT_FALSE(list.frames.at(2).overLong);
}

TEST(Framer, TakesTheBytesUpToTheFirstSequenceErrorAndSaysSo)
{
    // J1 "A", then a low nibble of J2 without its high nibble at stream offset 2.
    const MonitoredBytes monitored = assembleMonitoredBytes(streamOf(byJ1("A") + bytes({0x91}) + byJ2("B") + endCode()));
    const FrameList list = buildFrames(monitored, std::nullopt, NoDecoder());
    EXPECT_EQ(framesText(list), "J1 41");
    EXPECT_EQ(list.notes().constFirst(),
              QStringLiteral("ストリームの2バイト目にタグ順序エラーがあるため、その手前までを扱いました。"));
}
