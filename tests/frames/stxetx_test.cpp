// The STX/ETX decoder: messages 02 … 03 with no block check, an XOR BCC, a
// sum or a CRC-16 after ETX; other bytes make frames of their own.
#include "framestesting.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(StxEtxDecoder, ChecksEachKindOfBlockCheck)
{
    // "RD01" ETX: XOR 0x14, sum 0xFA, CRC-16 0xA2DC (low byte first).
    const struct
    {
        const char *decoder;
        QByteArray check;
        QByteArray wrong;
        const char *problem;
    } cases[] = {
        {"stx-etx:xor", bytes({0x14}), bytes({0x15}), "BCC不一致(計算 14, 受信 15)"},
        {"stx-etx:sum", bytes({0xFA}), bytes({0x00}), "SUM不一致(計算 FA, 受信 00)"},
        {"stx-etx:crc16", bytes({0xDC, 0xA2}), bytes({0xA2, 0xDC}), "CRC不一致(計算 DC A2, 受信 A2 DC)"},
    };
    for (const auto &c : cases) {
        const FrameList good = decoded(byJ1("\x02RD01\x03" + c.check), QLatin1String(c.decoder));
        ASSERT_EQ(good.frames.size(), 1) << c.decoder;
        EXPECT_EQ(good.frames.at(0).verdict, FrameVerdict::Good) << c.decoder;
        EXPECT_EQ(good.frames.at(0).summary, QStringLiteral("RD01")) << c.decoder;
        const FrameList bad = decoded(byJ1("\x02RD01\x03" + c.wrong), QLatin1String(c.decoder));
        EXPECT_EQ(bad.frames.at(0).problem, QString::fromUtf8(c.problem)) << c.decoder;
    }
}

TEST(StxEtxDecoder, SeparatesMessagesAndTheBytesAroundThem)
{
    // An ACK, two messages back to back with their BCC, a NAK, all in one run.
    const FrameList list = decoded(byJ2("\x06\x02" "A\x03\x42\x02" "B\x03\x41\x15"), QStringLiteral("stx-etx:xor"));
    EXPECT_EQ(framesText(list), "J2 06 / J2 02 41 03 42 / J2 02 42 03 41 / J2 15");
    EXPECT_EQ(list.frames.at(0).summary, QStringLiteral("[ACK]"));
    EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Unchecked);
    EXPECT_EQ(list.frames.at(2).verdict, FrameVerdict::Good);
}

TEST(StxEtxDecoder, FailsAMessageCutBeforeItsEndOrItsCheck)
{
    const struct
    {
        const char *name;
        QByteArray stream;
        const char *problem;
    } cases[] = {
        {"no ETX before the other side", byJ1("\x02RD0") + byJ2("\x06"), "ETXがありません"},
        {"the data ends before ETX", byJ1("\x02RD0"), "ETXがありません"},
        {"the check is missing", byJ1("\x02RD01\x03"), "途中で切れています"},
    };
    for (const auto &c : cases) {
        const FrameList list = decoded(c.stream, QStringLiteral("stx-etx:crc16"));
        EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Bad) << c.name;
        EXPECT_EQ(list.frames.at(0).problem, QString::fromUtf8(c.problem)) << c.name;
    }
}
