#include "board/traffic.h"
#include "boardtesting.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using ferrox::test::tagSequenceErrors;

namespace {

// The monitored bytes one sender sent, joined from their nibbles.
QByteArray sentBy(const QByteArray &stream, Sender sender)
{
    const std::uint8_t highTag = sender == Sender::J2 ? 0x80 : 0xA0;
    QByteArray values;
    for (qsizetype i = 0; i + 1 < stream.size(); i += 2) {
        const auto high = static_cast<std::uint8_t>(stream[i]);
        const auto low = static_cast<std::uint8_t>(stream[i + 1]);
        if ((high & 0xF0) == highTag)
            values.append(static_cast<char>(((high & 0x0F) << 4) | (low & 0x0F)));
    }
    return values;
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &content)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

} // namespace

TEST(BoardTraffic, MonitoredBytesBecomeTaggedNibblesHighFirst)
{
    QByteArray stream;
    appendMonitoredBytes(stream, Sender::J1, QByteArray("\x41", 1));
    appendMonitoredBytes(stream, Sender::J2, QByteArray("\x06\xFF\x00", 3));
    EXPECT_EQ(stream, QByteArray("\xA4\xB1\x80\x96\x8F\x9F\x80\x90", 8));
}

TEST(BoardTraffic, DemoIsAPlausibleConversationWithShiftJisText)
{
    const QByteArray stream = demoTraffic();
    EXPECT_EQ(tagSequenceErrors(stream), 0);
    EXPECT_FALSE(stream.contains('\xFF'));
    const QByteArray host = sentBy(stream, Sender::J1);
    const QByteArray terminal = sentBy(stream, Sender::J2);
    EXPECT_EQ(host.size() + terminal.size(), stream.size() / 2);
    EXPECT_TRUE(host.startsWith('\x05'));   // ENQ
    EXPECT_TRUE(terminal.startsWith('\x06')); // ACK
    EXPECT_TRUE(host.contains("\x02RD01\x03"));
    EXPECT_TRUE(terminal.contains('\x15')); // a NAK, and the frame sent again
    EXPECT_EQ(host.count("\x02RD02\x03"), 2);
    EXPECT_TRUE(terminal.contains("\r\n\x03"));
    // 「測定値」 in code page 932.
    EXPECT_TRUE(terminal.contains("\x81\x75\x91\xAA\x92\xE8\x92\x6C\x81\x76"));
    QStringDecoder decoder("windows-31j");
    const QString text = decoder.decode(terminal);
    EXPECT_FALSE(decoder.hasError());
    EXPECT_TRUE(text.contains(QStringLiteral("状態：正常")));
}

TEST(BoardTraffic, RandomTrafficIsReproducibleAndWellFormed)
{
    const QByteArray first = randomTraffic(7);
    EXPECT_EQ(first, randomTraffic(7));
    EXPECT_NE(first, randomTraffic(8));
    EXPECT_EQ(first.size(), 2 * 2048);
    EXPECT_EQ(tagSequenceErrors(first), 0);
    EXPECT_FALSE(sentBy(first, Sender::J1).isEmpty());
    EXPECT_FALSE(sentBy(first, Sender::J2).isEmpty());
}

TEST(BoardTraffic, SourcesByName)
{
    QString error;
    EXPECT_EQ(loadTraffic(QStringLiteral("demo"), error), demoTraffic());
    EXPECT_EQ(loadTraffic(QStringLiteral("random:42"), error), randomTraffic(42));
    EXPECT_EQ(loadTraffic(QStringLiteral("random:4294967295"), error), randomTraffic(0xFFFFFFFFu));
    for (const char *bad : {"random:", "random:x", "random:-1", "random:4294967296"}) {
        error.clear();
        EXPECT_FALSE(loadTraffic(QString::fromLatin1(bad), error)) << bad;
        EXPECT_TRUE(error.contains(QLatin1String("seed"))) << error.toStdString();
    }
}

TEST(BoardTraffic, DataFileIsReplayedAsItIsUpToItsEndCode)
{
    QTemporaryDir dir;
    QString error;
    const QByteArray odd("\xA4\xB1\xC5\x80\x96\xF3", 6); // an error tag and a stray 0xF3 stay
    EXPECT_EQ(loadTraffic(writeFile(dir, "a.dat", odd + '\xFF'), error), odd);
    EXPECT_EQ(loadTraffic(writeFile(dir, "b.dat", odd), error), odd);
    EXPECT_EQ(loadTraffic(writeFile(dir, "c.dat", odd + "\xFF\xA4\xB1"), error), odd);
}

TEST(BoardTraffic, UnusableDataFilesAreRefusedWithAReason)
{
    QTemporaryDir dir;
    const struct
    {
        QString path;
        const char *reason;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing.dat")), "cannot read"},
        {writeFile(dir, "empty.dat", QByteArray()), "no stream bytes"},
        {writeFile(dir, "end.dat", QByteArray("\xFF", 1)), "no stream bytes"},
        {dir.path(), "cannot read"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(loadTraffic(c.path, error)) << c.path.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(c.path)) << error.toStdString();
    }
}

TEST(BoardTraffic, DirectionKeepsOnlyItsSendersBytes)
{
    const QByteArray mixed("\xA4\xB1\x80\x96\xC5\xA0\xBD\x8F\x93", 9);
    EXPECT_EQ(trafficForDirection(mixed, 'G'), mixed);
    EXPECT_EQ(trafficForDirection(mixed, 'A'), QByteArray("\x80\x96\x8F\x93", 4));
    EXPECT_EQ(trafficForDirection(mixed, 'B'), QByteArray("\xA4\xB1\xA0\xBD", 4));
    EXPECT_TRUE(trafficForDirection(mixed, 'X').isEmpty());
}

TEST(BoardTraffic, ErrorTagsAreSpreadBetweenMonitoredBytes)
{
    const QByteArray stream = randomTraffic(3).left(200);
    for (const int count : {0, 1, 5, 99, 100, 250}) {
        const QByteArray mixed = withErrorTags(stream, count);
        ASSERT_EQ(mixed.size(), stream.size() + count) << count;
        QByteArray kept;
        for (qsizetype i = 0; i < mixed.size(); ++i) {
            const auto b = static_cast<std::uint8_t>(mixed[i]);
            const std::uint8_t tag = b >> 4;
            if (tag >= 0x8 && tag <= 0xB) {
                kept.append(mixed[i]);
                continue;
            }
            EXPECT_TRUE(tag < 0x8 || (tag >= 0xC && tag <= 0xE)) << int(b);
            EXPECT_FALSE(i > 0 && isHighNibble(static_cast<std::uint8_t>(mixed[i - 1])));
        }
        EXPECT_EQ(kept, stream) << count;
    }
    // Spread out, not bunched at one end.
    const QByteArray two = withErrorTags(stream, 2);
    EXPECT_TRUE(isHighNibble(static_cast<std::uint8_t>(two[0])));
    EXPECT_TRUE(isHighNibble(static_cast<std::uint8_t>(two[two.size() - 2])) || (two.back() & 0x10));
    EXPECT_EQ(withErrorTags(QByteArray(), 2).size(), 2);
}
