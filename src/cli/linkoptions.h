#pragma once

#include "cliarguments.h"

#include "link/exchanges.h"

#include <optional>

namespace ferrox {
class LinkOwner;
}

namespace ferrox::cli {

// --device PATH, --pc-speed 57600|115200, --dtr, --rts: the options of
// every command that talks to the board, in the order its usage lists them.
QList<CliOption> linkOptions();

struct LinkSetting
{
    QString device;     // the link port's device, also its name in texts
    CheckRequest check; // the link speed text as the panel spells it (" 57600"), DTR, RTS
};

// The link options as given; a usage error (printed) gives nothing.
std::optional<LinkSetting> readLinkOptions(CliArguments &args);

// The link port on the device and its one owner, alive until the program ends.
LinkOwner &openLink(const QString &device);

} // namespace ferrox::cli
