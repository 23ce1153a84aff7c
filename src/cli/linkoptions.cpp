#include "linkoptions.h"

#include "monitoroptions.h"

#include "link/linkowner.h"
#include "settings/settingsschema.h"
#include "platform/qtserialport.h"

#include <QCoreApplication>
#include <QDir>

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

std::optional<MonitorSettings> readLinkOptions(CliArguments &args)
{
    MonitorSettings link = firstRunSettings();
    link.port = args.value(QStringLiteral("device"), QString());
    if (link.port.isEmpty()) {
        args.usageError(QStringLiteral("--device is required"));
        return std::nullopt;
    }
    // The serial library would quietly look for a bare name under /dev.
    if (!link.port.contains(u'/')) {
        args.usageError(QStringLiteral("--device takes a path: \"%1\" would be /dev/%1 (./%1 for the file here)")
                            .arg(link.port));
        return std::nullopt;
    }
    // Relative paths too: the library reads "sub/board" as /dev/sub/board.
    if (!link.port.startsWith(u'/'))
        link.port = QDir::cleanPath(QDir::currentPath() + u'/' + link.port);
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
    , m_port(std::make_unique<QtSerialPort>([device](int) { return device; }))
    , m_owner(std::make_unique<LinkOwner>(*m_port))
{}

LinkSession::~LinkSession() = default;

LinkSession &openLink(const QString &device)
{
    return *new LinkSession(device, QCoreApplication::instance());
}

} // namespace ferrox::cli
