#include "linkoptions.h"

#include "link/linkowner.h"
#include "platform/qtserialport.h"

#include <QCoreApplication>

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

LinkOwner &openLink(const QString &device)
{
    QObject *app = QCoreApplication::instance();
    auto *port = new QtSerialPort([device](int) { return device; }, app);
    return *new LinkOwner(*port, app);
}

} // namespace ferrox::cli
