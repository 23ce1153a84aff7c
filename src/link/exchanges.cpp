#include "exchanges.h"

#include "platform/serialport.h"

namespace ferrox {

using namespace step;

namespace {

// A link speed that is not valid gets an empty settings text, which the
// port refuses.
QString settingsTextOf(std::optional<int> linkSpeed)
{
    return linkSpeed ? linkSettingsText(*linkSpeed) : QString();
}

} // namespace

CheckRequest checkRequestOf(const MonitorSettings &settings)
{
    return {portNameFromText(settings.port), settings.linkSpeed, settings.rts, settings.dtr};
}

LinkScript startUpOpenScript(const QString &portName, std::optional<int> linkSpeed)
{
    return {threshold(0),
            discard(),
            critical(setPort(portName)),
            critical(settings(settingsTextOf(linkSpeed))),
            critical(open())};
}

LinkScript connectionCheckScript(const CheckRequest &request)
{
    return {close(),
            critical(setPort(request.portName)),
            critical(open()),
            critical(settings(settingsTextOf(request.linkSpeed))),
            threshold(0),
            discard(),
            rts(request.rts),
            dtr(request.dtr),
            sampleLines(),
            critical(write(CMD_VERSION)),
            critical(await(VersionReplyLength, ReplyTimeoutMs)),
            read()};
}

LinkScript portChangeScript(const QString &portName)
{
    return {close(), critical(setPort(portName)), critical(open())};
}

LinkScript linkSpeedScript(std::optional<int> linkSpeed)
{
    return {settings(settingsTextOf(linkSpeed))};
}

} // namespace ferrox
