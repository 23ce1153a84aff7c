#pragma once

#include "cliarguments.h"

#include "settings/monitorsettings.h"

#include <optional>

namespace ferrox::cli {

// --monitor-speed N and --direction DIR: the monitored line.
QList<CliOption> monitoredLineOptions();

// The options as given, into settings; false after a usage error (printed).
bool readMonitoredLine(CliArguments &args, MonitorSettings &settings);
// --data-width 8|9, likewise.
bool readDataWidth(CliArguments &args, MonitorSettings &settings);

// A speed option's value: the number when it is one of choices.
std::optional<int> choiceNamed(const QString &value, const QList<int> &choices);
// "600, 1200 or 2400": the choices for a usage message.
QString choicesText(const QList<int> &choices);

} // namespace ferrox::cli
