#include "protocol.h"

#include "texts.h"

#include <array>

namespace ferrox {

namespace {

struct SpeedRow
{
    const char *text;
    char wideCode;      // firmware V1.03 and later
    char narrowCode;    // older firmware; 0: not in its table
    bool needsFastLink; // offered only over a 115200-baud link
};

constexpr std::array<SpeedRow, 10> kSpeeds{{
    {"   600", '0', 0, false},
    {"  1200", '1', 0, false},
    {"  2400", '2', 0, false},
    {"  4800", '3', '0', false},
    {"  9600", '4', '1', false},
    {" 14400", '5', 0, false},
    {" 19200", '6', '2', false},
    {" 28800", '7', '3', false},
    {" 38400", '8', '4', true},
    {" 57600", '9', '5', true},
}};

bool usesWideSpeedTable(const QString &firmwareVersion)
{
    return firmwareVersion == QLatin1String("V1.03") || firmwareVersion == QLatin1String("V1.04")
        || firmwareVersion == QLatin1String("V1.05");
}

QStringList speedTexts(bool wide, bool slowLink)
{
    QStringList texts;
    for (const SpeedRow &row : kSpeeds) {
        if ((wide || row.narrowCode != 0) && !(slowLink && row.needsFastLink))
            texts << QLatin1String(row.text);
    }
    return texts;
}

} // namespace

std::optional<std::uint8_t> CMD_SPEED(const QString &firmwareVersion, const QString &monitorSpeedText)
{
    const bool wide = usesWideSpeedTable(firmwareVersion);
    for (const SpeedRow &row : kSpeeds) {
        if (monitorSpeedText != QLatin1String(row.text))
            continue;
        const char code = wide ? row.wideCode : row.narrowCode;
        if (code == 0)
            return std::nullopt;
        return static_cast<std::uint8_t>(code);
    }
    return std::nullopt;
}

std::uint8_t CMD_MODE(DataWidth width)
{
    return width == DataWidth::DataAndParity ? 0x44 : 0x64;
}

std::optional<std::uint8_t> CMD_DIRECTION(const QString &directionText)
{
    if (directionText == linktext::directionJ2ToJ1())
        return 0x41;
    if (directionText == linktext::directionJ1ToJ2())
        return 0x42;
    if (directionText == linktext::directionBoth())
        return 0x47;
    return std::nullopt;
}

const QStringList &supportedFirmwareVersions()
{
    static const QStringList versions{QStringLiteral("V1.01"), QStringLiteral("V1.02"),
                                      QStringLiteral("V1.03"), QStringLiteral("V1.04"),
                                      QStringLiteral("V1.05")};
    return versions;
}

bool isSupportedFirmware(const QString &firmwareVersion)
{
    return supportedFirmwareVersions().contains(firmwareVersion);
}

bool takesDataWidth(const QString &firmwareVersion)
{
    return firmwareVersion == QLatin1String("V1.05");
}

std::optional<FirmwareFeatures> firmwareFeatures(const QString &firmwareVersion,
                                                 const QString &linkSpeedText)
{
    if (!isSupportedFirmware(firmwareVersion))
        return std::nullopt;
    FirmwareFeatures features;
    const bool slowLink = linkSpeedText == QLatin1String(" 57600");
    features.monitorSpeeds = speedTexts(usesWideSpeedTable(firmwareVersion), slowLink);
    features.directions << linktext::directionBoth();
    if (firmwareVersion != QLatin1String("V1.01"))
        features.directions << linktext::directionJ1ToJ2() << linktext::directionJ2ToJ1();
    features.rateMeasure = firmwareVersion == QLatin1String("V1.04")
        || firmwareVersion == QLatin1String("V1.05");
    features.dataWidth = takesDataWidth(firmwareVersion);
    return features;
}

QByteArray boardIdentification()
{
    return QByteArrayLiteral("Ferrox LM");
}

QString boardReplyOf(const QByteArray &reply)
{
    return QString::fromLatin1(reply.left(16));
}

QString firmwareVersionOf(const QByteArray &reply)
{
    return QString::fromLatin1(reply.mid(10, 5));
}

VersionVerdict assessVersionReply(const QByteArray &reply)
{
    if (reply.size() < VersionReplyLength)
        return VersionVerdict::TooShort;
    if (!reply.startsWith(boardIdentification()))
        return VersionVerdict::ForeignBoard;
    if (!isSupportedFirmware(firmwareVersionOf(reply)))
        return VersionVerdict::UnsupportedFirmware;
    return VersionVerdict::Verified;
}

int portNumberFromText(const QString &portText)
{
    int number = 0;
    int index = 3;
    while (index < portText.size() && portText.at(index) == QLatin1Char(' '))
        ++index;
    for (; index < portText.size(); ++index) {
        const char16_t c = portText.at(index).unicode();
        if (c < u'0' || c > u'9')
            break;
        number = number * 10 + (c - u'0');
        if (number > 9999) // far beyond any port; stop before it overflows
            break;
    }
    return number;
}

bool isValidPortNumber(int portNumber)
{
    return portNumber >= 1 && portNumber <= 255;
}

bool isDevicePath(const QString &portText)
{
    return portText.startsWith(u'/');
}

QString portNameFromText(const QString &portText)
{
    if (isDevicePath(portText))
        return portText;
    return QStringLiteral("COM") + QString::number(portNumberFromText(portText));
}

bool isValidPortName(const QString &portName)
{
    return isDevicePath(portName) || isValidPortNumber(portNumberFromText(portName));
}

} // namespace ferrox
