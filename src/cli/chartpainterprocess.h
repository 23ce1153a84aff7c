#pragma once

#include "frames/responsechart.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace ferrox::cli {

// PNG charts are painted by ferrox-chart, a program of its own
// (privateProgramPath), so that ferrox-cli loads no GUI library (fonts, a
// display platform) for the commands that draw nothing.

// Starts the painter on `chart`: done() gets the PNG's bytes from the event
// loop, or nothing once the failure (the painter's own message, its exit,
// a crash) is told on standard error. False, told likewise and done() never
// called, when the painter is missing.
bool startChartPainter(const ResponseChart &chart, std::function<void(std::optional<QByteArray> png)> done);

} // namespace ferrox::cli
