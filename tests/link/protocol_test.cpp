#include "link/protocol.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace ferrox;

namespace {

const QStringList kAllFirmware{QStringLiteral("V1.01"), QStringLiteral("V1.02"), QStringLiteral("V1.03"),
                               QStringLiteral("V1.04"), QStringLiteral("V1.05")};

TEST(Commands, SingleBytesAreTheBoardsLetters)
{
    EXPECT_EQ(CMD_VERSION, 'V');
    EXPECT_EQ(CMD_SIGNALS, 'S');
    EXPECT_EQ(CMD_MEASURE, 'M');
    EXPECT_EQ(CMD_STOP, 'E');
    EXPECT_EQ(CMD_MODE(DataWidth::DataOnly), 'd');
    EXPECT_EQ(CMD_MODE(DataWidth::DataAndParity), 'D');
    EXPECT_EQ(EndCode, 0xFF);
}

TEST(Commands, DirectionByExactText)
{
    EXPECT_EQ(CMD_DIRECTION(QStringLiteral("J1←J2")), std::optional<std::uint8_t>('A'));
    EXPECT_EQ(CMD_DIRECTION(QStringLiteral("J1→J2")), std::optional<std::uint8_t>('B'));
    EXPECT_EQ(CMD_DIRECTION(QStringLiteral("双方向")), std::optional<std::uint8_t>('G'));
    for (const char *other : {"", " 双方向", "J1->J2", "j1→j2", "J2→J1"})
        EXPECT_FALSE(CMD_DIRECTION(QString::fromUtf8(other))) << other;
}

// Each monitor-speed text with its byte in the wide table (V1.03 and
// later) and in the narrow one (all other firmware texts); 0 = no byte.
struct SpeedCase
{
    const char *text;
    char wide;
    char narrow;
};

class SpeedCodes : public testing::TestWithParam<SpeedCase>
{
};

TEST_P(SpeedCodes, ByFirmwareTable)
{
    const SpeedCase c = GetParam();
    const QString text = QLatin1String(c.text);
    const auto expect = [](char code) {
        return code ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(code)) : std::nullopt;
    };
    for (const char *wideFirmware : {"V1.03", "V1.04", "V1.05"})
        EXPECT_EQ(CMD_SPEED(QLatin1String(wideFirmware), text), expect(c.wide)) << wideFirmware;
    for (const char *narrowFirmware : {"V1.01", "V1.02", "", "V2.00", "v1.05"})
        EXPECT_EQ(CMD_SPEED(QLatin1String(narrowFirmware), text), expect(c.narrow)) << narrowFirmware;
}

INSTANTIATE_TEST_SUITE_P(
    AllTexts, SpeedCodes,
    testing::Values(SpeedCase{"   600", '0', 0}, SpeedCase{"  1200", '1', 0}, SpeedCase{"  2400", '2', 0},
                    SpeedCase{"  4800", '3', '0'}, SpeedCase{"  9600", '4', '1'}, SpeedCase{" 14400", '5', 0},
                    SpeedCase{" 19200", '6', '2'}, SpeedCase{" 28800", '7', '3'},
                    SpeedCase{" 38400", '8', '4'}, SpeedCase{" 57600", '9', '5'},
                    // Texts that match no row: no byte at all.
                    SpeedCase{"9600", 0, 0}, SpeedCase{"  9600 ", 0, 0}, SpeedCase{"", 0, 0},
                    SpeedCase{"115200", 0, 0}, SpeedCase{"   300", 0, 0}, SpeedCase{"  ９６００", 0, 0}));

const QStringList kNarrow57600{QStringLiteral("  4800"), QStringLiteral("  9600"), QStringLiteral(" 19200"),
                               QStringLiteral(" 28800")};
const QStringList kNarrowFast = kNarrow57600 + QStringList{QStringLiteral(" 38400"), QStringLiteral(" 57600")};
const QStringList kWide57600{QStringLiteral("   600"), QStringLiteral("  1200"), QStringLiteral("  2400"),
                             QStringLiteral("  4800"), QStringLiteral("  9600"), QStringLiteral(" 14400"),
                             QStringLiteral(" 19200"), QStringLiteral(" 28800")};
const QStringList kWideFast = kWide57600 + QStringList{QStringLiteral(" 38400"), QStringLiteral(" 57600")};
const QStringList kBoth{QStringLiteral("双方向")};
const QStringList kThree{QStringLiteral("双方向"), QStringLiteral("J1→J2"), QStringLiteral("J1←J2")};

struct FeatureCase
{
    const char *firmware;
    QStringList speeds57600;
    QStringList speedsFast;
    QStringList directions;
    bool rateMeasure;
    bool dataWidth;
};

TEST(FirmwareFeatures, TableByFirmwareAndLinkSpeed)
{
    const QList<FeatureCase> cases{
        {"V1.01", kNarrow57600, kNarrowFast, kBoth, false, false},
        {"V1.02", kNarrow57600, kNarrowFast, kThree, false, false},
        {"V1.03", kWide57600, kWideFast, kThree, false, false},
        {"V1.04", kWide57600, kWideFast, kThree, true, false},
        {"V1.05", kWide57600, kWideFast, kThree, true, true},
    };
    for (const FeatureCase &c : cases) {
        const QString firmware = QLatin1String(c.firmware);
        SCOPED_TRACE(c.firmware);
        ASSERT_TRUE(isSupportedFirmware(firmware));
        const auto slow = firmwareFeatures(firmware, QStringLiteral(" 57600"));
        ASSERT_TRUE(slow);
        EXPECT_EQ(slow->monitorSpeeds, c.speeds57600);
        EXPECT_EQ(slow->directions, c.directions);
        EXPECT_EQ(slow->rateMeasure, c.rateMeasure);
        EXPECT_EQ(slow->dataWidth, c.dataWidth);
        EXPECT_EQ(takesDataWidth(firmware), c.dataWidth);
        // Only the exact text " 57600" caps the list; anything else is the fast link's column.
        for (const char *fast : {"115200", "57600", " 57600 ", "", "  9600"})
            EXPECT_EQ(firmwareFeatures(firmware, QLatin1String(fast))->monitorSpeeds, c.speedsFast) << fast;
        // Every offered speed has a byte in the firmware's own table.
        for (const QString &speed : c.speedsFast)
            EXPECT_TRUE(CMD_SPEED(firmware, speed)) << speed.toStdString();
    }
}

TEST(FirmwareFeatures, UnknownFirmwareHasNone)
{
    for (const char *other : {"V1.00", "V1.06", "V2.00", "v1.05", "V1.0", "", "V1.05 "}) {
        EXPECT_FALSE(isSupportedFirmware(QLatin1String(other))) << other;
        EXPECT_FALSE(firmwareFeatures(QLatin1String(other), QStringLiteral(" 57600"))) << other;
    }
    EXPECT_EQ(supportedFirmwareVersions(), kAllFirmware);
}

QByteArray reply(const QByteArray &id, const QByteArray &firmware, int length)
{
    return (id + '_' + firmware + QByteArrayLiteral("  9600\r")).leftJustified(length, '#', true);
}

TEST(VersionReply, VerdictByLengthIdentificationAndFirmware)
{
    const QByteArray own = QByteArrayLiteral("Ferrox LM");
    const QList<std::tuple<QByteArray, VersionVerdict>> cases{
        {reply(own, "V1.05", 22), VersionVerdict::Verified},
        {reply(own, "V1.01", 30), VersionVerdict::Verified},
        {reply(own, "V1.05", 21), VersionVerdict::TooShort},
        {QByteArray(), VersionVerdict::TooShort},
        {reply(own, "V2.00", 22), VersionVerdict::UnsupportedFirmware},
        {reply(own, "v1.05", 22), VersionVerdict::UnsupportedFirmware},
        {reply("ferrox LM", "V1.05", 22), VersionVerdict::ForeignBoard},
        {reply("Ferrox LX", "V1.05", 22), VersionVerdict::ForeignBoard},
        {reply("Other Box", "V1.05", 22), VersionVerdict::ForeignBoard},
        {QByteArray(22, '\xFF'), VersionVerdict::ForeignBoard},
        {QByteArray(22, '\0'), VersionVerdict::ForeignBoard},
    };
    for (const auto &[bytes, verdict] : cases)
        EXPECT_EQ(assessVersionReply(bytes), verdict) << bytes.toHex().toStdString();
}

TEST(VersionReply, TextsAreBytesOneForOne)
{
    const QByteArray bytes = reply("Ferrox LM", "V1.04", 30);
    EXPECT_EQ(boardReplyOf(bytes), QStringLiteral("Ferrox LM_V1.04 "));
    EXPECT_EQ(firmwareVersionOf(bytes), QStringLiteral("V1.04"));

    const QByteArray high = QByteArray("Ferrox LM ") + QByteArray("\xB1\x80\x00\xFF\x7F", 5) + "x";
    EXPECT_EQ(firmwareVersionOf(high), QString::fromUtf16(u"\u00B1\u0080\u0000\u00FF\u007F", 5));
    EXPECT_EQ(boardReplyOf(high).size(), 16);
    EXPECT_EQ(firmwareVersionOf(QByteArrayLiteral("short")), QString());
}

TEST(PortText, NumberAfterTheFirstThreeCharacters)
{
    const QList<std::tuple<const char *, int, bool>> cases{
        {"COM1", 1, true},    {"COM17", 17, true}, {"COM20", 20, true}, {"com5", 5, true},
        {"COM 3", 3, true},   {"COM3x", 3, true},  {"COM255", 255, true}, {"COM", 0, false},
        {"COMx", 0, false},   {"", 0, false},      {"COM0", 0, false},  {"COM256", 256, false},
        {"COM-1", 0, false},  {"COM99999999999999", 10000, false},
    };
    for (const auto &[text, number, valid] : cases) {
        const int parsed = portNumberFromText(QLatin1String(text));
        if (number <= 9999)
            EXPECT_EQ(parsed, number) << text;
        else
            EXPECT_GT(parsed, 9999) << text;
        EXPECT_EQ(isValidPortNumber(parsed), valid) << text;
    }
}

} // namespace
