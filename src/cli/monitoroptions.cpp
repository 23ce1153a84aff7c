#include "monitoroptions.h"

#include "link/texts.h"

#include <algorithm>
#include <span>

namespace ferrox::cli {

namespace {

// The speeds the settings panel lists, as numbers.
constexpr int monitorSpeeds[] = {600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600};

// A speed as the panel's combo boxes spell it: six characters, right-aligned.
std::optional<QString> speedText(const QString &value, std::span<const int> offered)
{
    bool ok = false;
    const int speed = value.toInt(&ok);
    if (!ok || std::find(offered.begin(), offered.end(), speed) == offered.end())
        return std::nullopt;
    return QString::number(speed).rightJustified(6, u' ');
}

std::optional<QString> directionText(const QString &value)
{
    if (value == QLatin1String("both"))
        return linktext::directionBoth();
    if (value == QLatin1String("j1-to-j2"))
        return linktext::directionJ1ToJ2();
    if (value == QLatin1String("j2-to-j1"))
        return linktext::directionJ2ToJ1();
    return std::nullopt;
}

} // namespace

QList<CliOption> monitoredLineOptions()
{
    return {
        {QStringLiteral("monitor-speed"), QStringLiteral("N"), QStringLiteral("monitored line's speed, 600 to 57600 (default 9600)")},
        {QStringLiteral("direction"), QStringLiteral("DIR"), QStringLiteral("both, j1-to-j2 or j2-to-j1 (default both)")},
    };
}

std::optional<MonitoredLine> readMonitoredLine(CliArguments &args)
{
    const std::optional<QString> speed = speedText(args.value(QStringLiteral("monitor-speed"), QStringLiteral("9600")), monitorSpeeds);
    if (!speed) {
        args.usageError(QStringLiteral("--monitor-speed takes 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400 or 57600"));
        return std::nullopt;
    }
    const std::optional<QString> direction = directionText(args.value(QStringLiteral("direction"), QStringLiteral("both")));
    if (!direction) {
        args.usageError(QStringLiteral("--direction takes both, j1-to-j2 or j2-to-j1"));
        return std::nullopt;
    }
    return MonitoredLine{*speed, *direction};
}

} // namespace ferrox::cli
