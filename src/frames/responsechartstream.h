#pragma once

#include "responsechart.h"

#include <QByteArray>

#include <optional>

namespace ferrox {

// A laid-out chart as bytes for the chart painter (ferrox-chart), a program
// of its own so that ferrox-cli loads no GUI library, and back. Both ends
// are built together; the leading tag only tells a chart from anything else
// on the pipe.
QByteArray chartToBytes(const ResponseChart &chart);
// The chart, or nothing for bytes that are not one whole chart: a wrong
// tag, a cut or overlong stream, an unknown item kind, or a canvas no
// painter should allocate (over 16,384 points a side).
std::optional<ResponseChart> chartFromBytes(const QByteArray &bytes);

} // namespace ferrox
