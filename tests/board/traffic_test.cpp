#include "board/traffic.h"
#include "data/capturebuffer.h"
#include "data/examine.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace ferrox;
using ferrox::test::writeFile;

TEST(BoardTraffic, MonitoredBytesBecomeTaggedNibblesHighFirst)
{
    QByteArray stream;
    appendMonitoredBytes(stream, Sender::J1, QByteArray("\x41", 1));
    appendMonitoredBytes(stream, Sender::J2, QByteArray("\x06\xFF\x00", 3));
    EXPECT_EQ(stream, QByteArray("\xA4\xB1\x80\x96\x8F\x9F\x80\x90", 8));
}

// Both senders, whole monitored bytes in tag order (as the program examines
// a capture), no end code; random traffic the same for the same seed.
TEST(BoardTraffic, DemoModbusAndRandomTrafficAreWellFormed)
{
    EXPECT_EQ(randomTraffic(7), randomTraffic(7));
    EXPECT_NE(randomTraffic(7), randomTraffic(8));
    EXPECT_EQ(randomTraffic(7).size(), 2 * 2048);
    for (const QByteArray &stream : {demoTraffic(), modbusTraffic(), randomTraffic(7)}) {
        const auto sends = [&](char highTag) { return std::ranges::any_of(stream, [&](char c) { return (c & 0xF0) == (highTag & 0xF0); }); };
        EXPECT_EQ(ExamineMonitorData(CaptureBuffer::fromStream(stream + '\xFF')), 0);
        EXPECT_EQ(stream.size() % 2, 0);
        EXPECT_FALSE(stream.contains('\xFF'));
        EXPECT_TRUE(sends('\x80'));
        EXPECT_TRUE(sends('\xA0'));
    }
}

TEST(BoardTraffic, SourcesByNameAndDataFiles)
{
    // "demo" and "modbus": the captures of the command line's tests.
    QString error;
    EXPECT_EQ(loadTraffic(QStringLiteral("random:4294967295"), error), randomTraffic(0xFFFFFFFFu));

    // A data file is replayed as it is, up to its end code; an error tag and a stray 0xF3 stay.
    QTemporaryDir dir;
    const QByteArray odd("\xA4\xB1\xC5\x80\x96\xF3", 6);
    for (const QByteArray &content : {odd, odd + "\xFF\xA4\xB1"})
        EXPECT_EQ(loadTraffic(writeFile(dir.filePath(QStringLiteral("a.dat")), content), error), odd);

    const QList<std::pair<QString, const char *>> unusable{
        {QStringLiteral("random:4294967296"), "seed"},
        {dir.filePath(QStringLiteral("missing.dat")), "cannot read"},
        {writeFile(dir.filePath(QStringLiteral("end.dat")), QByteArray("\xFF", 1)), "no stream bytes"},
    };
    for (const auto &[source, reason] : unusable) {
        error.clear();
        EXPECT_FALSE(loadTraffic(source, error)) << source.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(source)) << error.toStdString();
    }
}

TEST(BoardTraffic, ErrorTagsAreSpreadBetweenMonitoredBytes)
{
    const QByteArray stream = randomTraffic(3).left(200);
    for (const int count : {5, 250}) {
        const QByteArray mixed = withErrorTags(stream, count);
        QByteArray kept;
        for (qsizetype i = 0; i < mixed.size(); ++i) {
            const std::uint8_t tag = static_cast<std::uint8_t>(mixed[i]) >> 4;
            if (tag >= 0x8 && tag <= 0xB)
                kept.append(mixed[i]);
            else {
                EXPECT_NE(tag, 0xF) << "at " << i;
                EXPECT_FALSE(i > 0 && isHighNibble(static_cast<std::uint8_t>(mixed[i - 1]))) << "a split byte at " << i;
            }
        }
        EXPECT_EQ(kept, stream) << count;
        EXPECT_EQ(mixed.size(), stream.size() + count);
    }
    EXPECT_EQ(withErrorTags(QByteArray(), 2).size(), 2);
}
