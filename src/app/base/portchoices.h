#pragma once

#include "platform/serialdevices.h"

#include <QList>
#include <QString>

namespace ferrox {

// One item of the port list "Combo_Com_port".
struct PortChoice
{
    QString text;    // "COM3" or a device path
    QString toolTip; // for a device: its description and by-id name
};

// The port list: "COM1" to "COM20" (their devices as mapped by number),
// then the serial devices found, each by its path.
QList<PortChoice> portChoices(const QList<SerialDevice> &devices);

} // namespace ferrox
