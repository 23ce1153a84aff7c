#include "monitoroptions.h"

#include "settings/settingsschema.h"

namespace ferrox::cli {

namespace {

std::optional<MonitorDirection> directionNamed(const QString &value)
{
    if (value == QLatin1String("both"))
        return MonitorDirection::Both;
    if (value == QLatin1String("j1-to-j2"))
        return MonitorDirection::J1ToJ2;
    if (value == QLatin1String("j2-to-j1"))
        return MonitorDirection::J2ToJ1;
    return std::nullopt;
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
        {QStringLiteral("monitor-speed"), QStringLiteral("N"), QStringLiteral("monitored line's speed, %1 to %2 (default 9600)")
                                                                   .arg(monitorSpeedChoices().constFirst())
                                                                   .arg(monitorSpeedChoices().constLast())},
        {QStringLiteral("direction"), QStringLiteral("DIR"), QStringLiteral("both, j1-to-j2 or j2-to-j1 (default both)")},
    };
}

bool readMonitoredLine(CliArguments &args, MonitorSettings &settings)
{
    settings.monitoredSpeed = choiceNamed(args.value(QStringLiteral("monitor-speed"), QStringLiteral("9600")),
                                          monitorSpeedChoices());
    if (!settings.monitoredSpeed) {
        args.usageError(QStringLiteral("--monitor-speed takes ") + choicesText(monitorSpeedChoices()));
        return false;
    }
    settings.direction = directionNamed(args.value(QStringLiteral("direction"), QStringLiteral("both")));
    if (!settings.direction) {
        args.usageError(QStringLiteral("--direction takes both, j1-to-j2 or j2-to-j1"));
        return false;
    }
    return true;
}

bool readDataWidth(CliArguments &args, MonitorSettings &settings)
{
    const QString width = args.value(QStringLiteral("data-width"), QStringLiteral("8"));
    if (width != QLatin1String("8") && width != QLatin1String("9")) {
        args.usageError(QStringLiteral("--data-width takes 8 or 9"));
        return false;
    }
    settings.dataWidth = width == QLatin1String("8") ? DataWidth::DataOnly : DataWidth::DataAndParity;
    return true;
}

} // namespace ferrox::cli
