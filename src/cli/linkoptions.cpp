#include "linkoptions.h"

#include "link/linkowner.h"
#include "platform/qtserialport.h"

#include <QCoreApplication>
#include <QDir>

namespace ferrox::cli {

QList<CliOption> linkOptions()
{
    return {
        {QStringLiteral("device"), QStringLiteral("PATH"), QStringLiteral("the link port's device")},
        {QStringLiteral("pc-speed"), QStringLiteral("57600|115200"), QStringLiteral("link speed (default 57600)")},
        {QStringLiteral("dtr"), QString(), QStringLiteral("DTR on")},
        {QStringLiteral("rts"), QString(), QStringLiteral("RTS on")},
    };
}

std::optional<LinkSetting> readLinkOptions(CliArguments &args)
{
    LinkSetting link;
    link.device = args.value(QStringLiteral("device"), QString());
    if (link.device.isEmpty()) {
        args.usageError(QStringLiteral("--device is required"));
        return std::nullopt;
    }
    // The serial library would quietly look for a bare name under /dev.
    if (!link.device.contains(u'/')) {
        args.usageError(QStringLiteral("--device takes a path: \"%1\" would be /dev/%1 (./%1 for the file here)")
                            .arg(link.device));
        return std::nullopt;
    }
    // Relative paths too: the library reads "sub/board" as /dev/sub/board.
    if (!link.device.startsWith(u'/'))
        link.device = QDir::cleanPath(QDir::currentPath() + u'/' + link.device);
    const QString speed = args.value(QStringLiteral("pc-speed"), QStringLiteral("57600"));
    // The link speeds as the settings panel spells them.
    if (speed == QLatin1String("57600")) {
        link.check.linkSpeedText = QStringLiteral(" 57600");
    } else if (speed == QLatin1String("115200")) {
        link.check.linkSpeedText = QStringLiteral("115200");
    } else {
        args.usageError(QStringLiteral("--pc-speed takes 57600 or 115200"));
        return std::nullopt;
    }
    link.check.dtr = args.isSet(QStringLiteral("dtr"));
    link.check.rts = args.isSet(QStringLiteral("rts"));
    return link;
}

CliOption stopAfterOption(const QString &what)
{
    return {QStringLiteral("seconds"), QStringLiteral("S"),
            QStringLiteral("stop after S seconds of %1 (default: at Ctrl+C)").arg(what)};
}

std::optional<int> readStopAfterMs(CliArguments &args)
{
    if (!args.isSet(QStringLiteral("seconds")))
        return 0;
    bool ok = false;
    const double seconds = args.value(QStringLiteral("seconds"), QString()).toDouble(&ok);
    if (!ok || !(seconds > 0) || seconds > 86400) {
        args.usageError(QStringLiteral("--seconds takes a number above 0, at most 86400"));
        return std::nullopt;
    }
    return std::max(1, qRound(seconds * 1000));
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
