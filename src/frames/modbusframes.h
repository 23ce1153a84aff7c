#pragma once

#include "frame.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace ferrox {

// Reads Modbus frames from their units (server address, then the PDU: the
// frame without its framing and check), which the RTU and ASCII decoders
// take out of the bytes, checking them; a frame whose unit could not be
// had (empty) keeps what its decoder said. One side asks (the side whose
// frames the other side answers); its frames are requests, the other
// side's are responses, and so is any exception. A response is paired
// with the waiting request when it has the same address and function (or
// the function with bit 7 set, an exception), with the response time.
// Frames can still fail, each with its kind: byte counts against
// quantities (count), quantities and coil values outside the protocol's
// limits (range), answers to writes that differ from their request (echo),
// broadcasts of reading functions and answers to broadcasts (broadcast),
// responses from another server or function, or to no request (unpaired;
// a response before the capture's first request is taken as answering one
// from before the capture). An exception response is valid, of kind
// exception. Fills summary, verdict and pairs; units holds one entry per
// frame, each at least 2 bytes.
void decodeModbusUnits(QList<Frame> &frames, const QList<std::optional<QByteArray>> &units);

} // namespace ferrox
