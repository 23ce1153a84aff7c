#include "protocol.h"

#include "settings/settingsschema.h"

namespace ferrox {

namespace {

bool usesWideSpeedTable(const QString &firmwareVersion)
{
    return firmwareVersion == QLatin1String("V1.03") || firmwareVersion == QLatin1String("V1.04")
        || firmwareVersion == QLatin1String("V1.05");
}

// The firmware before V1.03 knows neither the three lowest speeds nor 14400.
bool inNarrowTable(int speed)
{
    return speed >= 4800 && speed != 14400;
}

// A firmware's speed table: its rows in the order of the speed list; a
// row's code is '0' + its index.
QList<int> speedTable(const QString &firmwareVersion)
{
    const bool wide = usesWideSpeedTable(firmwareVersion);
    QList<int> table;
    for (int speed : monitorSpeedChoices()) {
        if (wide || inNarrowTable(speed))
            table << speed;
    }
    return table;
}

constexpr int SlowLinkSpeed = 57600;
constexpr int SlowLinkMonitorLimit = 28800;

} // namespace

std::optional<std::uint8_t> CMD_SPEED(const QString &firmwareVersion, int monitoredSpeed)
{
    const qsizetype row = speedTable(firmwareVersion).indexOf(monitoredSpeed);
    if (row < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>('0' + row);
}

std::uint8_t CMD_MODE(DataWidth width)
{
    return width == DataWidth::DataAndParity ? 0x44 : 0x64;
}

std::uint8_t CMD_DIRECTION(MonitorDirection direction)
{
    switch (direction) {
    case MonitorDirection::J2ToJ1:
        return 0x41;
    case MonitorDirection::J1ToJ2:
        return 0x42;
    case MonitorDirection::Both:
        break;
    }
    return 0x47;
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

QList<int> monitorSpeedsOffered(const QString &firmwareVersion, bool slowLink)
{
    QList<int> speeds = speedTable(firmwareVersion);
    if (slowLink)
        speeds.removeIf([](int speed) { return speed > SlowLinkMonitorLimit; });
    return speeds;
}

std::optional<FirmwareFeatures> firmwareFeatures(const QString &firmwareVersion, std::optional<int> linkSpeed)
{
    if (!isSupportedFirmware(firmwareVersion))
        return std::nullopt;
    FirmwareFeatures features;
    features.monitorSpeeds = monitorSpeedsOffered(firmwareVersion, linkSpeed == SlowLinkSpeed);
    features.directions << MonitorDirection::Both;
    if (firmwareVersion != QLatin1String("V1.01"))
        features.directions << MonitorDirection::J1ToJ2 << MonitorDirection::J2ToJ1;
    features.rateMeasure = firmwareVersion == QLatin1String("V1.04")
        || firmwareVersion == QLatin1String("V1.05");
    features.dataWidth = takesDataWidth(firmwareVersion);
    return features;
}

std::optional<LinkChoice> unofferedChoice(const QString &firmwareVersion, const MonitorSettings &settings)
{
    const std::optional<FirmwareFeatures> features = firmwareFeatures(firmwareVersion, settings.linkSpeed);
    if (!features || !settings.monitoredSpeed || !features->monitorSpeeds.contains(*settings.monitoredSpeed))
        return LinkChoice::MonitorSpeed;
    if (!settings.direction || !features->directions.contains(*settings.direction))
        return LinkChoice::Direction;
    if (settings.dataWidth == DataWidth::DataAndParity && !features->dataWidth)
        return LinkChoice::DataWidth;
    return std::nullopt;
}

QList<int> monitorSpeedsOverLink(std::optional<int> linkSpeed)
{
    QList<int> speeds;
    for (int speed : monitorSpeedChoices()) {
        for (const QString &firmware : supportedFirmwareVersions()) {
            if (firmwareFeatures(firmware, linkSpeed)->monitorSpeeds.contains(speed)) {
                speeds << speed;
                break;
            }
        }
    }
    return speeds;
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
