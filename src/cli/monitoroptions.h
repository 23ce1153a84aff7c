#pragma once

#include "cliarguments.h"

#include <optional>

namespace ferrox::cli {

// --monitor-speed N and --direction DIR: the monitored line as the
// settings panel spells it.
QList<CliOption> monitoredLineOptions();

struct MonitoredLine
{
    QString speedText;     // six characters, right-aligned: "  9600"
    QString directionText; // "双方向", "J1→J2" or "J1←J2"
};

// The options as given; a usage error (printed) gives nothing.
std::optional<MonitoredLine> readMonitoredLine(CliArguments &args);

} // namespace ferrox::cli
