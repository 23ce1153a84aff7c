#include "linkoptions.h"

#include "monitoroptions.h"

#include "link/linkowner.h"
#include "settings/settingsschema.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "platform/serialdevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace ferrox::cli {

QList<CliOption> linkOptions()
{
    return {
        {QStringLiteral("device"), QStringLiteral("PATH"), QStringLiteral("the link port's device")},
        {QStringLiteral("pc-speed"), QStringLiteral("57600|115200"),
         QStringLiteral("link speed (default %1)").arg(*firstRunSettings().linkSpeed)},
        {QStringLiteral("dtr"), QString(), QStringLiteral("DTR on")},
        {QStringLiteral("rts"), QString(), QStringLiteral("RTS on")},
    };
}

QString linkArgument()
{
    return QStringLiteral("DEVICE");
}

namespace {

// "COM1" .. "COM255" as the window numbers its ports; 0 for anything else.
int portNumberOf(const QString &name)
{
    static const QRegularExpression numbered(QStringLiteral("^COM([1-9][0-9]{0,2})$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = numbered.match(name);
    const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
    return number <= 255 ? number : 0;
}

// What the usage error says when no device is named: the devices found.
QString missingDeviceText()
{
    QString text = QStringLiteral("name the link port's device (as its argument or --device PATH, or COMn)");
    const QList<SerialDevice> devices = findSerialDevices();
    if (devices.isEmpty())
        return text + QStringLiteral("; no serial device was found");
    text += QStringLiteral("; the serial devices found:");
    for (const SerialDevice &device : devices)
        text += QStringLiteral("\n  ") + serialDeviceLine(device);
    return text;
}

} // namespace

std::optional<MonitorSettings> readLinkOptions(CliArguments &args)
{
    MonitorSettings link = firstRunSettings();
    const QString option = args.value(QStringLiteral("device"), QString());
    const QString argument = args.positional().value(0);
    if (!option.isEmpty() && !argument.isEmpty() && option != argument) {
        args.usageError(QStringLiteral("two devices named: %1 and --device %2").arg(argument, option));
        return std::nullopt;
    }
    link.port = option.isEmpty() ? argument : option;
    if (link.port.isEmpty()) {
        args.usageError(missingDeviceText());
        return std::nullopt;
    }
    if (const int number = portNumberOf(link.port)) {
        link.port = QStringLiteral("COM%1").arg(number);
    } else if (!link.port.contains(u'/')) {
        // The serial library would quietly look for a bare name under /dev.
        args.usageError(QStringLiteral("the device takes a path or COMn: \"%1\" would be /dev/%1 (./%1 for the file here)")
                            .arg(link.port));
        return std::nullopt;
    } else if (!link.port.startsWith(u'/')) {
        // Relative paths too: the library reads "sub/board" as /dev/sub/board.
        link.port = QDir::cleanPath(QDir::currentPath() + u'/' + link.port);
    }
    link.linkSpeed = choiceNamed(args.value(QStringLiteral("pc-speed"), QString::number(*firstRunSettings().linkSpeed)),
                                 linkSpeedChoices());
    if (!link.linkSpeed) {
        args.usageError(QStringLiteral("--pc-speed takes ") + choicesText(linkSpeedChoices()));
        return std::nullopt;
    }
    link.dtr = args.isSet(QStringLiteral("dtr"));
    link.rts = args.isSet(QStringLiteral("rts"));
    return link;
}

CliOption stopAfterOption(const QString &what)
{
    return {QStringLiteral("seconds"), QStringLiteral("S"),
            QStringLiteral("stop after S seconds of %1 (default: at Ctrl+C)").arg(what)};
}

std::optional<int> readStopAfterMs(CliArguments &args)
{
    const std::optional<double> seconds = args.decimal(QStringLiteral("seconds"), 0, 86400, 0, true);
    if (!seconds)
        return std::nullopt;
    return *seconds == 0 ? 0 : std::max(1, qRound(*seconds * 1000));
}

LinkSession::LinkSession(const QString &device, QObject *parent)
    : QObject(parent)
    , m_port(std::make_unique<QtSerialPort>([device](int portNumber) {
        // COMn as the window maps it; a path stands for itself.
        if (portNumberOf(device) == 0)
            return device;
        const QtSettingsStore windowSettings;
        return devicePathForPort(portNumber, &windowSettings);
    }))
    , m_owner(std::make_unique<LinkOwner>(*m_port))
{}

LinkSession::~LinkSession() = default;

LinkSession &openLink(const QString &device)
{
    return *new LinkSession(device, QCoreApplication::instance());
}

} // namespace ferrox::cli
