// ferrox-cli ports: the serial devices found on the machine, one a line.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"

#include "platform/serialdevices.h"

namespace ferrox::cli {

int portsCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("ports"), QString(), 0, {});
    if (!args.parse(arguments))
        return args.exitStatus();
    // None found is an answer, not a failure.
    for (const SerialDevice &device : findSerialDevices())
        printOut(serialDeviceLine(device) + u'\n');
    return ExitSuccess;
}

} // namespace ferrox::cli
