#pragma once

#include "cliarguments.h"

#include "link/consolecheck.h"
#include "settings/monitorsettings.h"

#include <optional>

namespace ferrox::cli {

// The option values of a direction ("both", "j1-to-j2", "j2-to-j1") and a
// data width ("8", "9").
QString directionValue(MonitorDirection direction);
QString dataWidthValue(DataWidth width);

// --monitor-speed N and --direction DIR: the monitored line.
QList<CliOption> monitoredLineOptions();

// The options as given into settings, a first run's settings where
// absent; false after a usage error (printed).
bool readMonitoredLine(CliArguments &args, MonitorSettings &settings);
// --data-width 8|9, likewise.
CliOption dataWidthOption();
bool readDataWidth(CliArguments &args, MonitorSettings &settings);

// Options the firmware the check found, over the chosen link, does not
// offer (as the window's settings panel would not list them): the window's
// text where it has one, then the option and what is offered, LF line
// ends; empty when all are offered. Every link command refuses with it.
QString unofferedOptionText(const QString &firmwareVersion, const MonitorSettings &settings);
// That refusal as the check a capture or monitor holds its settings to.
ConsoleSettingsCheck offeredOptionsCheck(const MonitorSettings &settings);

// A speed option's value: the number when it is one of choices.
std::optional<int> choiceNamed(const QString &value, const QList<int> &choices);
// "600, 1200 or 2400": the choices for a usage message.
QString choicesText(const QList<int> &choices);

} // namespace ferrox::cli
