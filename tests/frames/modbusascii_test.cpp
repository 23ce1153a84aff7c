// The Modbus ASCII decoder: ':', hexadecimal pairs, LRC, CR LF around the
// same requests and responses as RTU, read, paired and checked alike.
#include "framestesting.h"

#include "frames/blockchecks.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// An ASCII frame for server 17: ':', address, PDU and LRC in hexadecimal, CR LF.
QByteArray ascii(QByteArrayView pduHex, int address = 17)
{
    const QByteArray unit = char(address) + QByteArray::fromHex(pduHex.toByteArray());
    return ':' + (unit + char(lrcCheck(unit))).toHex().toUpper() + "\r\n";
}

FrameList modbusAscii(const QByteArray &stream)
{
    return decoded(stream, QStringLiteral("modbus-ascii"));
}

} // namespace

TEST(ModbusAsciiDecoder, ReadsAndPairsRequestsAndResponsesAsRtuDoes)
{
    EXPECT_EQ(ascii("03006B0003"), QByteArray(":1103006B00037E\r\n")) << "the protocol's own example";
    // Two requests and their answers, each side's frames run together.
    const FrameList list = modbusAscii(byJ1(ascii("03006B0003")) + byJ2(ascii("0306022B00000064")) + byJ1(ascii("0600010003"))
                                       + byJ2(ascii("8602")));
    ASSERT_EQ(list.frames.size(), 4);
    EXPECT_EQ(list.frames.at(1).summary,
              QStringLiteral("応答 スレーブ17 FC03 Read Holding Registers 値 0x022B 0x0000 0x0064"));
    EXPECT_EQ(list.frames.at(1).verdict, FrameVerdict::Good);
    EXPECT_EQ(list.frames.at(1).pairedFrame, 0);
    EXPECT_EQ(list.frames.at(3).kinds, FrameKinds(FrameKind::Exception));
    EXPECT_EQ(list.frames.at(3).pairedFrame, 2);
}

TEST(ModbusAsciiDecoder, ChecksTheLrcTheFramingAndTheContent)
{
    QByteArray wrongLrc = ascii("03006B0003");
    wrongLrc[14] = '0'; // LRC 7E becomes 70
    expectFailures(QStringLiteral("modbus-ascii"), {
        {"a wrong LRC", wrongLrc, "LRC不一致(計算 7E, 受信 70)", FrameKind::Crc},
        {"no CR LF at the end of the data", ascii("03006B0003").chopped(2), "途中で切れています", FrameKind::Length},
        {"a character that is no hexadecimal digit", ":11030G6B00037E\r\n", "16進数の2文字ずつではありません",
         FrameKind::Length},
        {"an odd number of digits", ":1103006B00037\r\n", "16進数の2文字ずつではありません", FrameKind::Length},
        {"no more than an address and an LRC", ":11EF\r\n", "短すぎます(アドレス、機能コード、LRCがありません)",
         FrameKind::Length},
        {"10 coils written with 1 byte", ascii("0F0013000A01CD"), "バイト数1が個数に合いません(2のはず)", FrameKind::Count},
    });
}

// Noise before a ':' is a frame of its own; a ':' starts a frame anew.
TEST(ModbusAsciiDecoder, EndsFramesAtCrLfAndStartsThemAtEveryColon)
{
    const FrameList list = modbusAscii(byJ1("xy" + ascii("03006B0003").chopped(6) + ascii("0600010003")));
    ASSERT_EQ(list.frames.size(), 3);
    EXPECT_EQ(list.frames.at(0).bytes, QByteArray("xy"));
    EXPECT_EQ(list.frames.at(0).problem, QStringLiteral("':'で始まっていません"));
    EXPECT_EQ(list.frames.at(2).verdict, FrameVerdict::Good);
}

// Characters of one ASCII message may be up to a second apart.
TEST(ModbusAsciiDecoder, APauseInsideAMessageDoesNotEndIt)
{
    const QByteArray frame = ascii("03006B0003");
    QList<TimedByte> bytes; // a character a millisecond, with half a second's pause after the sixth
    for (qsizetype i = 0; i < frame.size(); ++i)
        bytes.append({Direction::J1, std::uint8_t(frame.at(i)), i * 1000 + (i >= 6 ? 500000 : 0)});
    const TimedStream stream = timedStream(bytes);
    const FrameList list = buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-ascii")));
    ASSERT_EQ(list.frames.size(), 1);
    EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Good);
}
