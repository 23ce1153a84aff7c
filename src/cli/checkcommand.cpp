// ferrox-cli check: the connection check over a device, as the program
// makes it: prints the board's reply and firmware, or why there is none.
#include "cliarguments.h"
#include "clioutput.h"
#include "commands.h"

#include "link/consolecheck.h"
#include "platform/qtserialport.h"

#include <QCoreApplication>
#include <QTimer>

namespace ferrox::cli {

namespace {

// The link speed texts as the settings panel has them.
std::optional<QString> linkSpeedText(const QString &value)
{
    if (value == QLatin1String("57600"))
        return QStringLiteral(" 57600");
    if (value == QLatin1String("115200"))
        return QStringLiteral("115200");
    return std::nullopt;
}

} // namespace

int checkCommand(const QStringList &arguments)
{
    CliArguments args(QStringLiteral("check"), QString(), 0, {
        {QStringLiteral("device"), QStringLiteral("PATH"), QStringLiteral("the link port's device")},
        {QStringLiteral("pc-speed"), QStringLiteral("57600|115200"), QStringLiteral("link speed (default 57600)")},
        {QStringLiteral("dtr"), QString(), QStringLiteral("DTR on")},
        {QStringLiteral("rts"), QString(), QStringLiteral("RTS on")},
    });
    if (!args.parse(arguments))
        return args.exitStatus();
    const QString device = args.value(QStringLiteral("device"), QString());
    if (device.isEmpty())
        return args.usageError(QStringLiteral("--device is required"));
    const std::optional<QString> speed = linkSpeedText(args.value(QStringLiteral("pc-speed"), QStringLiteral("57600")));
    if (!speed)
        return args.usageError(QStringLiteral("--pc-speed takes 57600 or 115200"));

    CheckRequest request;
    request.linkSpeedText = *speed;
    request.dtr = args.isSet(QStringLiteral("dtr"));
    request.rts = args.isSet(QStringLiteral("rts"));

    // Both live until the program ends.
    auto *port = new QtSerialPort([device](int) { return device; }, QCoreApplication::instance());
    auto *owner = new LinkOwner(*port, QCoreApplication::instance());
    const auto report = [owner](const ConsoleCheckResult &result) {
        if (result.verified)
            printOut(result.text + result.firmwareVersion + u'\n');
        else
            printError(result.text);
        owner->shutdown();
        QCoreApplication::exit(result.verified ? ExitSuccess : ExitLinkFailure);
    };
    // From inside the event loop: a port that fails at once must still end it.
    QTimer::singleShot(0, owner, [owner, request, device, report] {
        runConsoleCheck(*owner, request, device, report);
    });
    return RunEventLoop;
}

} // namespace ferrox::cli
