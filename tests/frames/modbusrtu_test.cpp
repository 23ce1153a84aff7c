// The Modbus RTU decoder over the protocol's own example PDUs (server
// address 17), exception codes, broken CRCs, cut and run-together
// frames, and the pairing of requests with responses.
#include "framestesting.h"

#include "frames/blockchecks.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

// An RTU frame for server 17: address, PDU, CRC low byte first.
QByteArray rtu(QByteArrayView pduHex, int address = 17)
{
    QByteArray frame = char(address) + QByteArray::fromHex(pduHex.toByteArray());
    const std::uint16_t crc = crc16Modbus(frame);
    return frame + char(crc & 0xFF) + char(crc >> 8);
}

FrameList modbus(const QByteArray &stream)
{
    return decoded(stream, QStringLiteral("modbus-rtu"));
}

} // namespace

// Functions 2 and 4 are read as 1 and 3 are, under their own names.
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
        {"03006B0003", "0306022B00000064", "要求 スレーブ17 FC03 Read Holding Registers 開始107 個数3",
         "応答 スレーブ17 FC03 Read Holding Registers 値 0x022B 0x0000 0x0064"},
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
    }
}

TEST(ModbusRtuDecoder, FailsBrokenShortCutAndOverLongFramesButKeepsThem)
{
    QByteArray broken = rtu("03006B0003");
    broken[7] = char(broken[7] ^ 0x01);
    expectFailures(QStringLiteral("modbus-rtu"), {
        // CRCs as they travel, low byte first.
        {"a flipped CRC bit", broken, "CRC不一致(計算 76 87, 受信 76 86)", FrameKind::Crc},
        {"three bytes", QByteArray::fromHex("110300"), "短すぎます(4バイト未満)", FrameKind::Length},
        {"a response cut by the end of the data", QByteArray::fromHex("110306022B0000"),
         "CRC不一致(計算 79 39, 受信 00 00)、途中で切れています", FrameKind::Crc | FrameKind::Length},
        {"more than 256 bytes", QByteArray(300, char(0x11)), "長すぎます、CRC不一致(計算 EF F4, 受信 11 11)",
         FrameKind::Length | FrameKind::Crc},
    });
    EXPECT_EQ(modbus(byJ2(broken)).frames.at(0).summary, QStringLiteral("要求 スレーブ17 FC03 Read Holding Registers 開始107 個数3"));
}

// An exception response is a valid answer, of its own kind, with its code named.
TEST(ModbusRtuDecoder, ReadsExceptionResponsesAsValidFramesOfTheirOwnKind)
{
    const struct
    {
        const char *pdu;
        const char *problem;
    } cases[] = {
        // The first code, the unassigned 07 and the one after it, the last; the others are the same lookup.
        {"8301", "例外コード01 ILLEGAL FUNCTION"},
        {"8307", "例外コード07 不明な例外"},
        {"8308", "例外コード08 MEMORY PARITY ERROR"},
        {"830B", "例外コード0B GATEWAY TARGET DEVICE FAILED TO RESPOND"},
    };
    for (const auto &c : cases) {
        const FrameList list = modbus(byJ1(rtu("03006B0003")) + byJ2(rtu(c.pdu)));
        ASSERT_EQ(list.frames.size(), 2) << c.pdu;
        const Frame &exception = list.frames.at(1);
        EXPECT_EQ(exception.verdict, FrameVerdict::Good) << c.pdu;
        EXPECT_EQ(exception.kinds, FrameKinds(FrameKind::Exception)) << c.pdu;
        EXPECT_EQ(exception.problem, QString::fromUtf8(c.problem)) << c.pdu;
    }
    // An exception names the function of the request it answers.
    const FrameList exception = modbus(byJ1(rtu("03006B0003")) + byJ2(rtu("8302")));
    EXPECT_EQ(exception.frames.at(1).summary,
              QStringLiteral("例外応答 スレーブ17 FC03 Read Holding Registers 例外コード02 ILLEGAL DATA ADDRESS"));
    EXPECT_EQ(exception.frames.at(1).pairedFrame, 0);
}

// Frames whose CRC holds but whose content a Modbus server or client must
// not send: byte counts against quantities, answers against their
// requests, quantity limits, broadcasts.
TEST(ModbusRtuDecoder, FailsCrcValidFramesWhoseContentIsWrongWithTheirKind)
{
    const struct
    {
        const char *name;
        QByteArray stream;
        qsizetype frame;
        FrameKind kind;
    } cases[] = {
        {"10 coils written with 1 byte", byJ1(rtu("0F0013000A01CD")), 0, FrameKind::Count},
        {"10 registers written with 19 bytes", byJ1(rtu("100000000A13" + QByteArray(38, '0'))), 0, FrameKind::Count},
        {"2 bytes of coils for 5 coils", byJ1(rtu("0100130005")) + byJ2(rtu("01021F00")), 1, FrameKind::Count},
        {"4 bytes for 3 registers", byJ1(rtu("0300000003")) + byJ2(rtu("030400010002")), 1, FrameKind::Count},
        {"16 bytes for 520 registers", byJ1(rtu("0300000208")) + byJ2(rtu("0310" + QByteArray(32, '0'))), 1,
         FrameKind::Count},
        {"a Write Single Register echo that differs", byJ1(rtu("0600010003")) + byJ2(rtu("0600010004")), 1,
         FrameKind::Echo},
        {"a Write Multiple Coils echo that differs", byJ1(rtu("0F0013000A02CD01")) + byJ2(rtu("0F0014000A")), 1,
         FrameKind::Echo},
        {"0 registers read", byJ1(rtu("0300000000")), 0, FrameKind::Range},
        {"520 registers read", byJ1(rtu("0300000208")), 0, FrameKind::Range},
        {"2001 coils read", byJ1(rtu("01000007D1")), 0, FrameKind::Range},
        {"1969 coils written", byJ1(rtu("0F000007B1F7" + QByteArray(494, '0'))), 0, FrameKind::Range},
        {"0 registers written by function 23", byJ1(rtu("17000000010000000000")), 0, FrameKind::Range},
        {"a coil value neither ON nor OFF", byJ1(rtu("0500AC1234")), 0, FrameKind::Range},
        {"a broadcast read", byJ1(rtu("0300000001", 0)), 0, FrameKind::Broadcast},
        {"a reply to a broadcast", byJ1(rtu("0600010003", 0)) + byJ2(rtu("0600010003", 0)), 1, FrameKind::Broadcast},
        {"a reply from another server", byJ1(rtu("0300000001")) + byJ2(rtu("03020001", 18)), 1, FrameKind::Unpaired},
        {"a reply of another function", byJ1(rtu("0300000001")) + byJ2(rtu("04020001")), 1, FrameKind::Unpaired},
        {"a second reply", byJ1(rtu("0300000001")) + byJ2(rtu("03020001") + rtu("03020001")), 2, FrameKind::Unpaired},
    };
    for (const auto &c : cases) {
        const FrameList list = modbus(c.stream);
        ASSERT_GT(list.frames.size(), c.frame) << c.name;
        const Frame &frame = list.frames.at(c.frame);
        EXPECT_EQ(frame.verdict, FrameVerdict::Bad) << c.name;
        EXPECT_EQ(frame.kinds, FrameKinds(c.kind)) << c.name << ": " << frame.problem.toStdString();
    }
}

TEST(ModbusRtuDecoder, PairsEachResponseWithItsRequestAndTimesIt)
{
    // An answer to a broadcast pairs with nothing: FailsCrcValidFrames…, "a reply to a broadcast".
    const TimedStream stream = modbusFindings();
    const FrameList list = buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu")));
    ASSERT_EQ(list.frames.size(), 5);
    EXPECT_EQ(list.frames.at(0).pairedFrame, 1);
    EXPECT_EQ(list.frames.at(1).pairedFrame, 0);
    EXPECT_EQ(list.frames.at(1).responseMicros, 12000);
    EXPECT_EQ(list.frames.at(4).pairedFrame, -1) << "never answered";
}

// A tail that came late after a silence: the answer's own length holds it
// together though its CRC is broken; a fragment before a whole answer
// stays a fragment.
TEST(ModbusRtuDecoder, ASilenceInsideAMessageOfItsFunctionsLengthDoesNotCutIt)
{
    const QByteArray request = rtu("03006B0003");
    const QByteArray brokenAnswer = QByteArray::fromHex("110306022B00000064C8BB");
    const QByteArray answer = rtu("0306022B00000064");
    const auto framesOf = [&request](const QByteArray &late, qsizetype lateFrom) {
        QList<TimedByte> bytes = sentAt(Direction::J1, request, 0);
        for (qsizetype i = 0; i < late.size(); ++i)
            bytes.append({Direction::J2, std::uint8_t(late.at(i)), 12000 + i * 1000 + (i >= lateFrom ? 40000 : 0)});
        const TimedStream stream = timedStream(bytes);
        return framesText(buildFrames(stream.bytes, stream.times, *makeDecoder(QStringLiteral("modbus-rtu"))));
    };
    EXPECT_EQ(framesOf(brokenAnswer, 2), "J1 " + frameHex(request).toStdString() + " / J2 " + frameHex(brokenAnswer).toStdString());
    EXPECT_EQ(framesOf(answer.first(2) + answer, 2),
              "J1 " + frameHex(request).toStdString() + " / J2 " + frameHex(answer.first(2)).toStdString() + " / J2 "
                  + frameHex(answer).toStdString());
}
