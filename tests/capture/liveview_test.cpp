#include "capture/liveview.h"

#include "link/linktesting.h"

using namespace ferrox;
using namespace Qt::StringLiterals;

TEST(LiveView, TheTwoDecodersJoinNibblesByTheirOwnRule)
{
    // 0x41 from J2, 0x0D from J1, then tag 0xD and 0xC, the end code.
    const QByteArray stream = QByteArray::fromHex("8491a0bdc3d4ff");
    const LiveByte fromJ2{0x41, Direction::J2};
    const LiveByte fromJ1{0x0D, Direction::J1};
    using Bytes = std::vector<LiveByte>;
    EXPECT_EQ(LiveByteDecoder(LiveByteDecoder::Rule::Capture).decode(stream), Bytes({fromJ2, fromJ1}));
    EXPECT_EQ(LiveByteDecoder(LiveByteDecoder::Rule::SimpleMonitor).decode(stream),
              Bytes({fromJ2, fromJ1, {0x34, Direction::None}, {0x3F, Direction::None}}));

    // A low nibble first combines with 0; the high nibble waits across blocks.
    LiveByteDecoder decoder(LiveByteDecoder::Rule::SimpleMonitor);
    EXPECT_EQ(decoder.decode(QByteArray::fromHex("9bb7a4")), Bytes({{0x0B, Direction::J2}, {0x07, Direction::J1}}));
    EXPECT_EQ(decoder.decode(QByteArray::fromHex("b2")), Bytes({{0x42, Direction::J1}}));
}

TEST(LiveView, EveryByteValueHasItsTextForm)
{
    const QStringList named{u"[STX]"_s, u"[ETX]"_s, u"[EOT]"_s, u"[ENQ]"_s, u"[ACK]"_s,
                            u"[TAB]"_s, u"[LF_]"_s, u"[CR_]"_s, u"[NAK]"_s, u"[ESC]"_s};
    const QList<int> namedValues{2, 3, 4, 5, 6, 9, 10, 13, 21, 27};
    for (int v = 0; v < 256; ++v) {
        const QString expected = namedValues.contains(v) ? named.at(namedValues.indexOf(v))
            : v >= 0x20 && v < 0x7F                      ? QString(QChar(v))
            : v >= 0xA1 && v <= 0xDF                     ? QString(QChar(0xFF61 + v - 0xA1))
                                                         : u"･"_s;
        EXPECT_EQ(renderLiveByte(static_cast<std::uint8_t>(v), LiveDisplay::Text), expected) << v;
    }
}
