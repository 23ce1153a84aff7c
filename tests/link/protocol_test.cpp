#include "link/protocol.h"
#include "settings/settingsschema.h"
#include "linktesting.h"

#include <algorithm>
#include <tuple>

using namespace ferrox;
using ferrox::test::versionReply;
using namespace Qt::StringLiterals;

namespace {

// Each monitored speed with its byte in the wide table (V1.03 and later)
// and in the narrow one (all other firmware texts); 0 = no byte.
TEST(Commands, SpeedByFirmwareTable)
{
    // The ends of both tables, the wide table's gap in the narrow one, speeds no row holds.
    const QList<std::tuple<int, char, char>> cases{
        {600, '0', 0}, {4800, '3', '0'}, {14400, '5', 0}, {19200, '6', '2'}, {57600, '9', '5'}, {300, 0, 0}, {115200, 0, 0}};
    const auto byte = [](char code) {
        return code ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(code)) : std::nullopt;
    };
    for (const auto &[speed, wide, narrow] : cases) {
        SCOPED_TRACE(speed);
        for (const auto &[firmware, code] : {std::pair{"V1.03", wide}, std::pair{"V1.05", wide},
                                             std::pair{"V1.02", narrow}, std::pair{"v1.05", narrow}})
            EXPECT_EQ(CMD_SPEED(QLatin1String(firmware), speed), byte(code)) << firmware;
    }
}

TEST(FirmwareFeatures, TableByFirmwareAndLinkSpeed)
{
    const QList<int> wide{600, 1200, 2400, 4800, 9600, 14400, 19200, 28800}, narrow{4800, 9600, 19200, 28800}, fast{38400, 57600};
    using enum MonitorDirection;
    const QList<MonitorDirection> both{Both}, three{Both, J1ToJ2, J2ToJ1};
    const QList<std::tuple<const char *, QList<int>, QList<MonitorDirection>, bool, bool>> cases{
        {"V1.01", narrow, both, false, false}, {"V1.02", narrow, three, false, false}, {"V1.03", wide, three, false, false},
        {"V1.04", wide, three, true, false},   {"V1.05", wide, three, true, true}};
    for (const auto &[name, speeds, directions, rateMeasure, dataWidth] : cases) {
        const QString firmware = QLatin1String(name);
        SCOPED_TRACE(name);
        ASSERT_TRUE(isSupportedFirmware(firmware));
        const auto slow = firmwareFeatures(firmware, 57600);
        ASSERT_TRUE(slow);
        EXPECT_EQ(slow->monitorSpeeds, speeds);
        EXPECT_EQ(slow->directions, directions);
        EXPECT_EQ(slow->rateMeasure, rateMeasure);
        EXPECT_EQ(slow->dataWidth, dataWidth);
        EXPECT_EQ(takesDataWidth(firmware), dataWidth);
        // Only a link of exactly 57600 caps the list; any other is the fast link's column.
        for (std::optional<int> link : {std::optional<int>(115200), std::optional<int>()})
            EXPECT_EQ(firmwareFeatures(firmware, link)->monitorSpeeds, speeds + fast);
        // Every offered speed has a byte in the firmware's own table.
        for (int speed : speeds + fast)
            EXPECT_TRUE(CMD_SPEED(firmware, speed)) << speed;
    }
    for (const char *other : {"V1.06", "v1.05", "V1.05 "}) {
        EXPECT_FALSE(isSupportedFirmware(QLatin1String(other))) << other;
        EXPECT_FALSE(firmwareFeatures(QLatin1String(other), 57600)) << other;
    }
    // No firmware yet: the narrow table.
    EXPECT_EQ(monitorSpeedsOffered(QString(), true), narrow);
}

// A choice the panel would not list is refused, by the same table (which
// speeds and directions it holds is the case above); the first refused
// choice names what to change.
TEST(FirmwareFeatures, ChoicesTheFirmwareDoesNotOfferAreRefused)
{
    using enum MonitorDirection;
    using enum DataWidth;
    using Choice = std::optional<LinkChoice>;
    const struct { const char *firmware; int link; std::optional<int> speed; std::optional<MonitorDirection> direction; DataWidth width; Choice refused; } cases[] = {
        {"V1.01", 57600, 28800, Both, DataOnly, std::nullopt},
        {"V1.05", 115200, 57600, J2ToJ1, DataAndParity, std::nullopt},
        {"V1.05", 57600, std::nullopt, Both, DataOnly, LinkChoice::MonitorSpeed},
        {"V1.01", 57600, 9600, J1ToJ2, DataOnly, LinkChoice::Direction},
        {"V1.05", 57600, 9600, std::nullopt, DataOnly, LinkChoice::Direction},
        {"V1.04", 57600, 9600, Both, DataAndParity, LinkChoice::DataWidth},
        {"V1.01", 57600, 600, J1ToJ2, DataAndParity, LinkChoice::MonitorSpeed},
        {"V2.00", 57600, 9600, Both, DataOnly, LinkChoice::MonitorSpeed},
    };
    for (const auto &c : cases) {
        MonitorSettings settings;
        settings.linkSpeed = c.link;
        settings.monitoredSpeed = c.speed;
        settings.direction = c.direction;
        settings.dataWidth = c.width;
        EXPECT_EQ(unofferedChoice(QLatin1String(c.firmware), settings), c.refused)
            << c.firmware << " link " << c.link << " speed " << c.speed.value_or(0);
    }
    // Before the board is known: what any firmware offers over the link.
    EXPECT_EQ(monitorSpeedsOverLink(57600), (QList<int>{600, 1200, 2400, 4800, 9600, 14400, 19200, 28800}));
    EXPECT_EQ(monitorSpeedsOverLink(115200), monitorSpeedChoices());
}

TEST(VersionReply, VerdictByLengthIdentificationAndFirmware)
{
    const QList<std::tuple<QByteArray, VersionVerdict>> cases{
        {versionReply("V1.05"), VersionVerdict::Verified}, {versionReply("V1.05", 21), VersionVerdict::TooShort},
        {versionReply("v1.05"), VersionVerdict::UnsupportedFirmware}, {'f' + versionReply("V1.05").mid(1), VersionVerdict::ForeignBoard}};
    for (const auto &[bytes, verdict] : cases)
        EXPECT_EQ(assessVersionReply(bytes), verdict) << bytes.toHex().toStdString();
}

TEST(VersionReply, TextsAreBytesOneForOne)
{
    const QByteArray bytes = versionReply("V1.04", 30);
    EXPECT_EQ(boardReplyOf(bytes), QStringLiteral("Ferrox LM V1.04 "));
    EXPECT_EQ(firmwareVersionOf(bytes), QStringLiteral("V1.04"));
    const QByteArray high = QByteArray("Ferrox LM ") + QByteArray("\xB1\x80\x00\xFF\x7F", 5) + "x";
    EXPECT_EQ(firmwareVersionOf(high), QString::fromUtf16(u"\u00B1\u0080\u0000\u00FF\u007F", 5));
    EXPECT_EQ(boardReplyOf(high).size(), 16);
    EXPECT_EQ(firmwareVersionOf(QByteArrayLiteral("short")), QString());
}

TEST(PortText, NumberAfterTheFirstThreeCharacters)
{
    const QList<std::tuple<const char *, int, bool>> cases{
        {"com5", 5, true}, {"COM3x", 3, true}, {"COM255", 255, true}, {"COM0", 0, false}, {"COM256", 256, false}, {"COM99999999999999", 10000, false}};
    for (const auto &[text, number, valid] : cases) {
        const int parsed = portNumberFromText(QLatin1String(text));
        EXPECT_EQ(std::min(parsed, 10000), number) << text; // any number past 9999 stands for "too big"
        EXPECT_EQ(isValidPortNumber(parsed), valid) << text;
    }
}

TEST(PortText, NamesAComPortOrADevicePath)
{
    const QList<std::tuple<const char *, const char *, bool>> cases{
        {"COM 3", "COM3", true}, {"COMx", "COM0", false}, {"/dev/ttyUSB0", "/dev/ttyUSB0", true}, {"dev/ttyUSB0", "COM0", false}};
    for (const auto &[text, name, valid] : cases) {
        EXPECT_EQ(portNameFromText(QLatin1String(text)), QLatin1String(name)) << text;
        EXPECT_EQ(isValidPortName(portNameFromText(QLatin1String(text))), valid) << text;
    }
}

} // namespace
