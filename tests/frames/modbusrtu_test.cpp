// The Modbus RTU decoder over the protocol's own example PDUs (server
// address 17), exception codes, broken CRCs, cut and run-together
// frames, and the pairing of requests with responses.
#include "framestesting.h"

#include "frames/blockchecks.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// An RTU frame for server 17: address, PDU, CRC low byte first.
QByteArray rtu(const char *pduHex, int address = 17)
{
    QByteArray frame = char(address) + QByteArray::fromHex(pduHex);
    const std::uint16_t crc = crc16Modbus(frame);
    return frame + char(crc & 0xFF) + char(crc >> 8);
}

FrameList modbus(const QByteArray &stream)
{
    return decoded(stream, QStringLiteral("modbus-rtu"));
}

} // namespace

TEST(ModbusRtuDecoder, NamesAndReadsEachExampleRequestAndResponse)
{
    const struct
    {
        const char *request;
        const char *response;
        const char *requestSummary;
        const char *responseSummary;
    } cases[] = {
        {"0100130013", "0103CD6B05", "要求 スレーブ17 FC01 Read Coils 開始19 個数19",
         "応答 スレーブ17 FC01 Read Coils 値 1011001111010110101"},
        {"0200C40016", "0203ACDB35", "要求 スレーブ17 FC02 Read Discrete Inputs 開始196 個数22",
         "応答 スレーブ17 FC02 Read Discrete Inputs 値 0011010111011011101011"},
        {"03006B0003", "0306022B00000064", "要求 スレーブ17 FC03 Read Holding Registers 開始107 個数3",
         "応答 スレーブ17 FC03 Read Holding Registers 値 0x022B 0x0000 0x0064"},
        {"0400080001", "0402000A", "要求 スレーブ17 FC04 Read Input Registers 開始8 個数1",
         "応答 スレーブ17 FC04 Read Input Registers 値 0x000A"},
        {"0500ACFF00", "0500ACFF00", "要求 スレーブ17 FC05 Write Single Coil 172 = ON",
         "応答 スレーブ17 FC05 Write Single Coil 172 = ON"},
        {"0600010003", "0600010003", "要求 スレーブ17 FC06 Write Single Register 1 = 0x0003",
         "応答 スレーブ17 FC06 Write Single Register 1 = 0x0003"},
        {"0F0013000A02CD01", "0F0013000A", "要求 スレーブ17 FC15 Write Multiple Coils 開始19 個数10 値 1011001110",
         "応答 スレーブ17 FC15 Write Multiple Coils 開始19 個数10"},
        {"100001000204000A0102", "1000010002",
         "要求 スレーブ17 FC16 Write Multiple Registers 開始1 個数2 値 0x000A 0x0102",
         "応答 スレーブ17 FC16 Write Multiple Registers 開始1 個数2"},
        {"1700030006000E00030600FF00FF00FF", "170C00FE0ACD00010003000D00FF",
         "要求 スレーブ17 FC23 Read/Write Multiple Registers 読出 開始3 個数6 書込 開始14 個数3 値 0x00FF 0x00FF 0x00FF",
         "応答 スレーブ17 FC23 Read/Write Multiple Registers 値 0x00FE 0x0ACD 0x0001 0x0003 0x000D 0x00FF"},
    };
    for (const auto &c : cases) {
        const FrameList list = modbus(byJ1(rtu(c.request)) + byJ2(rtu(c.response)));
        ASSERT_EQ(list.frames.size(), 2) << c.request;
        EXPECT_EQ(list.frames.at(0).summary, QString::fromUtf8(c.requestSummary));
        EXPECT_EQ(list.frames.at(1).summary, QString::fromUtf8(c.responseSummary));
        EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Good) << c.request;
        EXPECT_EQ(list.frames.at(1).verdict, FrameVerdict::Good) << c.response;
        EXPECT_EQ(list.frames.at(1).pairedFrame, 0) << c.response;
    }
}

TEST(ModbusRtuDecoder, FailsExceptionsAndBrokenShortCutAndOverLongFramesButKeepsThem)
{
    QByteArray broken = rtu("03006B0003");
    broken[7] = char(broken[7] ^ 0x01);
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *problem;
    } cases[] = {
        // Exception codes: the first, both sides of the unassigned 07, the last; the others are the same lookup.
        {"exception 01", rtu("8301"), "例外コード01 ILLEGAL FUNCTION"},
        {"exception 06", rtu("8306"), "例外コード06 SERVER DEVICE BUSY"},
        {"exception 07", rtu("8307"), "例外コード07 不明な例外"},
        {"exception 08", rtu("8308"), "例外コード08 MEMORY PARITY ERROR"},
        {"exception 0B", rtu("830B"), "例外コード0B GATEWAY TARGET DEVICE FAILED TO RESPOND"},
        {"a flipped CRC bit", broken, "CRC不一致(計算 8776, 受信 8676)"},
        {"three bytes", QByteArray::fromHex("110300"), "短すぎます(4バイト未満)"},
        {"a response cut by the end of the data", QByteArray::fromHex("110306022B0000"),
         "CRC不一致(計算 3979, 受信 0000)、途中で切れています"},
        {"more than 256 bytes", QByteArray(300, char(0x11)), "長すぎます、CRC不一致(計算 F4EF, 受信 1111)"},
    };
    for (const auto &c : cases) {
        const FrameList list = modbus(byJ2(c.bytes));
        ASSERT_FALSE(list.frames.isEmpty()) << c.name;
        EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Bad) << c.name;
        EXPECT_EQ(list.frames.at(0).problem, QString::fromUtf8(c.problem)) << c.name;
    }
    EXPECT_EQ(modbus(byJ2(broken)).frames.at(0).summary, QStringLiteral("要求 スレーブ17 FC03 Read Holding Registers 開始107 個数3"));
    // An exception names the function of the request it answers.
    const FrameList exception = modbus(byJ1(rtu("03006B0003")) + byJ2(rtu("8302")));
    ASSERT_EQ(exception.frames.size(), 2);
    EXPECT_EQ(exception.frames.at(1).summary,
              QStringLiteral("例外応答 スレーブ17 FC03 Read Holding Registers 例外コード02 ILLEGAL DATA ADDRESS"));
    EXPECT_EQ(exception.frames.at(1).pairedFrame, 0);
}

TEST(ModbusRtuDecoder, SeparatesFramesRunTogetherWhereTheirCrcHolds)
{
    // Two requests and two responses with no gap the times could show.
    const QByteArray stream = byJ1(rtu("0300000001") + rtu("0300000001", 18)) + byJ2(rtu("03020001") + rtu("0306000100020003", 18));
    const FrameList list = modbus(stream);
    ASSERT_EQ(list.frames.size(), 4);
    EXPECT_EQ(list.frames.at(1).bytes, rtu("0300000001", 18));
    EXPECT_EQ(list.frames.at(3).bytes, rtu("0306000100020003", 18));
}

TEST(ModbusRtuDecoder, PairsEachResponseWithItsRequestAndTimesIt)
{
    // Server 17 answers after 12 ms; server 18 never answers, and a broadcast gets no answer.
    QList<TimedByte> bytes = sentAt(Direction::J1, rtu("03006B0003"), 1000);
    bytes += sentAt(Direction::J2, rtu("0306022B00000064"), 13000);
    bytes += sentAt(Direction::J1, rtu("0300000001", 18), 50000);
    bytes += sentAt(Direction::J1, rtu("0600010003", 0), 90000);
    bytes += sentAt(Direction::J2, rtu("0600010003", 0), 95000);
    const TimedStream stream = timedStream(bytes);
    const FrameList list = buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")));
    ASSERT_EQ(list.frames.size(), 5);
    EXPECT_EQ(list.frames.at(0).pairedFrame, 1);
    EXPECT_EQ(list.frames.at(1).pairedFrame, 0);
    EXPECT_EQ(list.frames.at(1).responseMicros, 12000);
    EXPECT_EQ(list.frames.at(2).pairedFrame, -1);
    EXPECT_TRUE(list.frames.at(3).summary.startsWith(QStringLiteral("要求 スレーブ0(一斉) FC06")));
    EXPECT_TRUE(list.frames.at(4).summary.startsWith(QStringLiteral("要求 スレーブ0(一斉) FC06")));
}

// A poll every 100 ms, each message in one read: the first request's CRC
// is broken, so only the silence can end it.
TEST(ModbusRtuDecoder, SparseTrafficEndsFramesAtItsSilencesWithoutAGapSetting)
{
    QList<TimedByte> bytes = sentAt(Direction::J1, QByteArray::fromHex("1103006B00032387"), 0);
    bytes += sentAt(Direction::J1, QByteArray::fromHex("110400080001B298"), 100000);
    bytes += sentAt(Direction::J2, QByteArray::fromHex("110402000AF8F4"), 110000);
    const TimedStream stream = timedStream(bytes);
    const FrameList list = buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")));
    EXPECT_EQ(framesText(list), "J1 11 03 00 6B 00 03 23 87 / J1 11 04 00 08 00 01 B2 98 / J2 11 04 02 00 0A F8 F4");
    ASSERT_EQ(list.frames.size(), 3);
    EXPECT_EQ(list.frames.at(2).pairedFrame, 1);
    EXPECT_EQ(list.frames.at(2).verdict, FrameVerdict::Good);
    EXPECT_EQ(list.resolutionMicros, 10000);
}
