// pcap records as Wireshark's dissectors need them, one message each: the
// live cutter fed read by read, and the export's records of stored frames.
#include "data/datatesting.h"

#include "frames/framedecoder.h"
#include "frames/framepcap.h"
#include "frames/liveframecutter.h"
#include "timeline/exportformats.h"

#include <QtEndian>

#include <string>
#include <vector>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

const QByteArray request = QByteArray::fromHex("1103006B00037687");
const QByteArray response = QByteArray::fromHex("110306022B00000064C8BA");

// The default options, a 9600-baud line: frames end after 3.646 ms of silence.
const FramerOptions at9600;

// Feeds `values` one read of `perRead` bytes every `stepMicros` from
// `startMicros`; returns the frames that ended.
QList<LiveFrame> feedReads(LiveFrameCutter &cutter, Direction sender, const QByteArray &values, qsizetype perRead,
                           qint64 startMicros, qint64 stepMicros)
{
    QList<LiveFrame> ended;
    for (qsizetype at = 0; at < values.size(); at += perRead)
        ended += cutter.take(sender, QByteArrayView(values).sliced(at, std::min(perRead, values.size() - at)),
                             startMicros + (at / perRead) * stepMicros);
    return ended;
}

struct Record
{
    qint64 micros;
    std::uint8_t event;
    QByteArray values;
};

QList<Record> recordsOf(const QByteArray &pcap)
{
    QList<Record> records;
    for (qsizetype at = 24; at + 16 <= pcap.size();) {
        const auto seconds = qFromLittleEndian<quint32>(pcap.constData() + at);
        const auto micros = qFromLittleEndian<quint32>(pcap.constData() + at + 4);
        const auto length = qFromLittleEndian<quint32>(pcap.constData() + at + 8);
        const QByteArray body = pcap.mid(at + 16, length);
        records.append({qint64(seconds) * 1000000 + micros, std::uint8_t(body.at(8)), body.mid(12)});
        at += 16 + length;
    }
    return records;
}

} // namespace

TEST(LivePcapRecords, AMessageReadInPiecesIsOneRecordAndSilenceEndsIt)
{
    LiveFrameCutter cutter(at9600);
    // A byte a millisecond, as the line brings them: the times are fine
    // enough for the 3.646 ms gap.
    EXPECT_TRUE(feedReads(cutter, Direction::J1, request, 1, 1'000'000, 1042).isEmpty());
    const QList<LiveFrame> ended = feedReads(cutter, Direction::J1, request, 1, 1'020'000, 1042);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).values, request);
    EXPECT_EQ(ended.at(0).firstMicros, 1'000'000) << "stamped with its first byte";
    // The second request, still held, ends when the framer takes the quiet
    // as a frame's end: a silence of the gap beyond the times' blur (a
    // byte's time here) and the next byte's own line time.
    EXPECT_TRUE(cutter.takeIfQuietUntil(cutter.lastMicros() + 3000).isEmpty());
    const QList<LiveFrame> quiet = cutter.takeIfQuietUntil(cutter.lastMicros() + 6000);
    ASSERT_EQ(quiet.size(), 1);
    EXPECT_EQ(quiet.at(0).firstMicros, 1'020'000);
    EXPECT_FALSE(cutter.isHolding());
}

TEST(LivePcapRecords, BatchesCoarserThanTheGapEndNothingButTheSenderDoes)
{
    // The request in two reads 5 ms apart, as a board's or an adapter's
    // batches arrive: the framer does not take 5 ms steps as silence.
    LiveFrameCutter cutter(at9600);
    EXPECT_TRUE(feedReads(cutter, Direction::J1, request, 5, 0, 5000).isEmpty());
    QList<LiveFrame> ended = feedReads(cutter, Direction::J2, response, 5, 10'000, 5000);
    ended += feedReads(cutter, Direction::J1, request, 5, 25'000, 5000);
    ASSERT_EQ(ended.size(), 2);
    EXPECT_EQ(ended.at(0).values, request);
    EXPECT_EQ(ended.at(0).sender, Direction::J1);
    EXPECT_EQ(ended.at(1).values, response);
    EXPECT_EQ(ended.at(1).firstMicros, 10'000);
    const QList<LiveFrame> last = cutter.flush();
    ASSERT_EQ(last.size(), 1);
    EXPECT_EQ(last.at(0).values, request);
}

TEST(LivePcapRecords, ASenderThatNeverPausesIsCutAtTheLongestFrame)
{
    LiveFrameCutter cutter(at9600);
    const QList<LiveFrame> ended
        = feedReads(cutter, Direction::J2, QByteArray(LiveFrameCutter::LongestFrame + 1, 'x'), 64, 0, 1000);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended.at(0).values.size(), LiveFrameCutter::LongestFrame);
    EXPECT_EQ(cutter.flush().value(0).values, "x");
}

namespace {

// One read: a sender's bytes that arrived together.
struct Read
{
    Direction sender;
    QByteArray values;
    qint64 micros;
};

std::string sideAndHex(Direction sender, const QByteArray &values)
{
    return (sender == Direction::J1 ? "J1 " : "J2 ") + values.toHex().toStdString();
}

// The records the live cutter makes of the reads, the held ones flushed at the end.
std::vector<std::string> liveRecords(const QList<Read> &reads, std::shared_ptr<const FrameDecoder> decoder)
{
    LiveFrameCutter cutter(at9600, std::move(decoder));
    QList<LiveFrame> ended;
    for (const Read &read : reads)
        ended += cutter.take(read.sender, read.values, read.micros);
    ended += cutter.flush();
    std::vector<std::string> records;
    for (const LiveFrame &frame : ended)
        records.push_back(sideAndHex(frame.sender, frame.values));
    return records;
}

// The frames the frame view makes of the same reads, stored as a capture.
std::vector<std::string> storedFrames(const QList<Read> &reads, const FrameDecoder &decoder)
{
    QByteArray stream;
    ArrivalTimes times;
    for (const Read &read : reads) {
        times.arrivals.append({qint32(stream.size()), read.micros});
        stream += read.sender == Direction::J1 ? byJ1(read.values) : byJ2(read.values);
    }
    std::vector<std::string> frames;
    for (const Frame &frame : buildFrames(assembleMonitoredBytes(streamOf(stream + endCode())), times, decoder, at9600).frames)
        frames.push_back(sideAndHex(frame.direction, frame.bytes));
    return frames;
}

const QByteArray exception = QByteArray::fromHex("018302C0F1");
const QByteArray badCrc = QByteArray::fromHex("110402000AF8F5");

// A Modbus RTU conversation as a busy PC reads it: an exception whose tail
// came 40 ms late, two answers that arrived in one read, an answer with a
// broken CRC, whole and with its tail late.
const QList<Read> lateTailAndBackToBack{
    {Direction::J1, request, 0},
    {Direction::J2, exception.first(2), 20'000},
    {Direction::J2, exception.sliced(2), 60'000},
    {Direction::J1, request, 100'000},
    {Direction::J2, exception + response, 140'000},
    {Direction::J1, request, 200'000},
    {Direction::J2, badCrc, 220'000},
    {Direction::J1, request, 300'000},
    {Direction::J2, badCrc.first(2), 320'000},
    {Direction::J2, badCrc.sliced(2), 360'000},
    {Direction::J1, request, 400'000},
};

} // namespace

// What Wireshark's Modbus RTU dissector reads live is what decode and the
// export read with the decoder; without one the records stay the frame
// view's without one.
TEST(LivePcapRecords, RecordsAreTheStoredFramesWithOrWithoutADecoder)
{
    const auto modbus = std::shared_ptr<const FrameDecoder>(makeDecoder(QStringLiteral("modbus-rtu")));
    const std::vector<std::string> live = liveRecords(lateTailAndBackToBack, modbus);
    EXPECT_EQ(live, storedFrames(lateTailAndBackToBack, *modbus));
    EXPECT_EQ(live.at(1), sideAndHex(Direction::J2, exception)) << "the late tail joined";
    EXPECT_EQ(live.at(4), sideAndHex(Direction::J2, response)) << "back-to-back answers cut apart";
    EXPECT_EQ(live.at(8), sideAndHex(Direction::J2, badCrc)) << "a broken answer's late tail joined";
    EXPECT_EQ(liveRecords(lateTailAndBackToBack, nullptr), storedFrames(lateTailAndBackToBack, PlainFrames()));
}

// An answer the decoder sees unfinished waits over the gap for its tail,
// though not for ever; a complete one ends at the gap.
TEST(LivePcapRecords, AnUnfinishedMessageWaitsForItsTailAWhile)
{
    LiveFrameCutter cutter(at9600, std::shared_ptr<const FrameDecoder>(makeDecoder(QStringLiteral("modbus-rtu"))));
    // The request a byte at a time: times fine enough for the gap.
    feedReads(cutter, Direction::J1, request, 1, 0, 1042);
    cutter.take(Direction::J2, badCrc, 20'000);
    EXPECT_TRUE(cutter.takeIfQuietUntil(70'000).isEmpty());
    EXPECT_EQ(cutter.takeIfQuietUntil(20'000 + LiveFrameCutter::OpenHoldMicros).value(0).values, badCrc);

    cutter.take(Direction::J2, exception, 2'000'000);
    EXPECT_EQ(cutter.takeIfQuietUntil(2'050'000).value(0).values, exception);
}

TEST(ExportPcapRecords, OneRecordPerFrameStampedWithItsFirstByte)
{
    // Two requests of J1 15 ms apart, each stored in two pieces, then the
    // response: three frames where a record per sender's run made two.
    const QByteArray stream = byJ1(request) + byJ1(request) + byJ2(response) + endCode();
    ArrivalTimes times;
    times.startEpochMicros = 1796562051000000;
    for (qint64 piece = 0; piece < 5; ++piece) // a byte a millisecond, the 2nd request from 20 ms on
        times.arrivals.append({piece * 2, piece * 1000});
    times.arrivals += {{10, 5000}, {16, 20000}, {26, 21000}, {32, 30000}};
    const MonitoredBytes bytes = assembleMonitoredBytes(streamOf(stream));
    const QList<Record> records
        = recordsOf(pcapOfFrames(buildFrames(bytes, times, PlainFrames(), at9600).frames, times));
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records.at(1).values, request);
    EXPECT_EQ(records.at(1).micros, times.startEpochMicros + 20000);
    EXPECT_EQ(records.at(2).values, response);
    EXPECT_EQ(records.at(2).event, serialEventSentByJ2);
}
