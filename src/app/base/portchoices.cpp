#include "portchoices.h"

#include <QStringList>

namespace ferrox {

namespace {
constexpr int NumberedPortCount = 20;
} // namespace

QList<PortChoice> portChoices(const QList<SerialDevice> &devices)
{
    QList<PortChoice> choices;
    for (int port = 1; port <= NumberedPortCount; ++port)
        choices.append({QStringLiteral("COM%1").arg(port), QString()});
    for (const SerialDevice &device : devices) {
        QStringList tip;
        for (const QString &part : {device.description, device.byIdName}) {
            if (!part.isEmpty())
                tip << part;
        }
        choices.append({device.path, tip.join(u'\n')});
    }
    return choices;
}

} // namespace ferrox
