#include "capture/liveappender.h"
#include "capture/liveview.h"

#include "link/linktesting.h"

#include <gtest/gtest.h>

using namespace ferrox;
using namespace Qt::StringLiterals;

TEST(LiveView, TheTwoDecodersJoinNibblesByTheirOwnRule)
{
    // 0x41 from J2, 0x0D from J1, then tag 0xD and 0xC, the end code.
    const QByteArray stream = QByteArray::fromHex("8491a0bdc3d4ff");
    EXPECT_EQ(LiveByteDecoder(LiveByteDecoder::Rule::Capture).decode(stream), QByteArray::fromHex("410d"));
    EXPECT_EQ(LiveByteDecoder(LiveByteDecoder::Rule::SimpleMonitor).decode(stream),
              QByteArray::fromHex("410d343f"));

    // A low nibble first combines with 0; the high nibble waits across blocks.
    LiveByteDecoder decoder(LiveByteDecoder::Rule::SimpleMonitor);
    EXPECT_EQ(decoder.decode(QByteArray::fromHex("9bb7a4")), QByteArray::fromHex("0b07"));
    EXPECT_EQ(decoder.decode(QByteArray::fromHex("b2")), QByteArray::fromHex("42"));
}

TEST(LiveView, EveryByteValueHasItsTextForm)
{
    EXPECT_EQ(renderLiveBytes(QByteArray::fromHex("410d"), LiveDisplay::Hex), u" 41 0D"_s);
    EXPECT_EQ(renderLiveBytes(QByteArray::fromHex("410d"), LiveDisplay::Text), u"A[CR_]"_s);
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

TEST(LiveView, TheAppenderHandsOverOneBatchPerFrameAndKeepsTheViewBounded)
{
    LiveTextAppender appender(100);
    QString view;
    int batches = 0;
    QObject::connect(&appender, &LiveTextAppender::batchReady,
                     [&](const QString &text, qsizetype drop) { view.remove(0, drop), view += text, ++batches; });
    appender.append(u"ab"_s), appender.append(u"cd"_s);
    EXPECT_EQ(batches, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return batches == 1; }, 1000));
    EXPECT_EQ(view, u"abcd"_s);

    // Beyond the bound the oldest text goes, down to three quarters.
    const QString more = QString(100, u'y') + u"tail"_s;
    appender.append(more), appender.flush();
    EXPECT_TRUE(view == (u"abcd"_s + more).right(75) && appender.shownChars() == 75);
    // More in one frame than the bound replaces the view.
    appender.append(QString(250, u'x') + u"end"_s), appender.flush();
    EXPECT_TRUE(view.size() == 75 && view.endsWith(u"xend"_s));
}
