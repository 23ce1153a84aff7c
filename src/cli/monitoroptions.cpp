#include "monitoroptions.h"

#include "capture/texts.h"
#include "link/protocol.h"
#include "settings/settingsschema.h"

namespace ferrox::cli {

QString directionValue(MonitorDirection direction)
{
    switch (direction) {
    case MonitorDirection::Both:
        return QStringLiteral("both");
    case MonitorDirection::J1ToJ2:
        return QStringLiteral("j1-to-j2");
    case MonitorDirection::J2ToJ1:
        return QStringLiteral("j2-to-j1");
    }
    return {};
}

QString dataWidthValue(DataWidth width)
{
    return width == DataWidth::DataOnly ? QStringLiteral("8") : QStringLiteral("9");
}

namespace {

std::optional<MonitorDirection> directionNamed(const QString &value)
{
    for (MonitorDirection direction : directionChoices()) {
        if (value == directionValue(direction))
            return direction;
    }
    return std::nullopt;
}

QString directionValues(const QList<MonitorDirection> &directions)
{
    QStringList values;
    for (MonitorDirection direction : directions)
        values << directionValue(direction);
    return values.join(QStringLiteral(", "));
}

// The firmware versions that capture data + parity.
QString dataWidthFirmware()
{
    QStringList versions = supportedFirmwareVersions();
    versions.removeIf([](const QString &version) { return !takesDataWidth(version); });
    return versions.join(QStringLiteral(", "));
}

// A first run's choices: what the settings store reads with no key in it.
const MonitorSettings &defaults()
{
    static const MonitorSettings firstRun = firstRunSettings();
    return firstRun;
}

} // namespace

std::optional<int> choiceNamed(const QString &value, const QList<int> &choices)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || !choices.contains(number))
        return std::nullopt;
    return number;
}

QString choicesText(const QList<int> &choices)
{
    QStringList texts;
    for (int choice : choices)
        texts << QString::number(choice);
    const QString last = texts.takeLast();
    return texts.isEmpty() ? last : texts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QList<CliOption> monitoredLineOptions()
{
    return {
        {QStringLiteral("monitor-speed"), QStringLiteral("N"),
         QStringLiteral("monitored line's speed, %1 to %2 as the firmware and link offer (default %3)")
             .arg(monitorSpeedChoices().constFirst())
             .arg(monitorSpeedChoices().constLast())
             .arg(*defaults().monitoredSpeed)},
        {QStringLiteral("direction"), QStringLiteral("DIR"),
         QStringLiteral("%1, as the firmware offers (default %2)")
             .arg(directionValues(directionChoices()), directionValue(*defaults().direction))},
    };
}

CliOption dataWidthOption()
{
    return {QStringLiteral("data-width"), QStringLiteral("8|9"),
            QStringLiteral("monitored data width, 9 as the firmware offers (default %1)").arg(dataWidthValue(defaults().dataWidth))};
}

bool readMonitoredLine(CliArguments &args, MonitorSettings &settings)
{
    settings.monitoredSpeed = choiceNamed(
        args.value(QStringLiteral("monitor-speed"), QString::number(*defaults().monitoredSpeed)), monitorSpeedChoices());
    if (!settings.monitoredSpeed) {
        args.usageError(QStringLiteral("--monitor-speed takes ") + choicesText(monitorSpeedChoices()));
        return false;
    }
    settings.direction = directionNamed(args.value(QStringLiteral("direction"), directionValue(*defaults().direction)));
    if (!settings.direction) {
        args.usageError(QStringLiteral("--direction takes ") + directionValues(directionChoices()));
        return false;
    }
    return true;
}

bool readDataWidth(CliArguments &args, MonitorSettings &settings)
{
    const QString width = args.value(QStringLiteral("data-width"), dataWidthValue(defaults().dataWidth));
    if (width != dataWidthValue(DataWidth::DataOnly) && width != dataWidthValue(DataWidth::DataAndParity)) {
        args.usageError(QStringLiteral("--data-width takes 8 or 9"));
        return false;
    }
    settings.dataWidth = width == dataWidthValue(DataWidth::DataOnly) ? DataWidth::DataOnly : DataWidth::DataAndParity;
    return true;
}

QString unofferedOptionText(const QString &firmwareVersion, const MonitorSettings &settings)
{
    const std::optional<LinkChoice> refused = unofferedChoice(firmwareVersion, settings);
    if (!refused)
        return {};
    const std::optional<FirmwareFeatures> features = firmwareFeatures(firmwareVersion, settings.linkSpeed);
    const FirmwareFeatures offered = features.value_or(FirmwareFeatures{});
    const QString over = QStringLiteral("firmware %1 over a %2-baud link").arg(firmwareVersion).arg(settings.linkSpeed.value_or(0));
    switch (*refused) {
    case LinkChoice::MonitorSpeed:
        return CaptureTexts::unsupportedSpeed()
            + QStringLiteral("\n--monitor-speed %1: %2 offers %3\n")
                  .arg(settings.monitoredSpeed.value_or(0))
                  .arg(over, offered.monitorSpeeds.isEmpty() ? QStringLiteral("none") : choicesText(offered.monitorSpeeds));
    case LinkChoice::Direction:
        return QStringLiteral("--direction %1: firmware %2 offers %3\n")
            .arg(settings.direction ? directionValue(*settings.direction) : QString(), firmwareVersion,
                 directionValues(offered.directions));
    case LinkChoice::DataWidth:
        return QStringLiteral("--data-width 9: firmware %1 captures 8 data bits only (9 needs %2)\n")
            .arg(firmwareVersion, dataWidthFirmware());
    }
    return {};
}

ConsoleSettingsCheck offeredOptionsCheck(const MonitorSettings &settings)
{
    return [settings](const QString &firmwareVersion) { return unofferedOptionText(firmwareVersion, settings); };
}

} // namespace ferrox::cli
