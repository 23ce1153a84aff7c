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

LinkScript captureReadyScript()
{
    return {discard(), threshold(0), critical(openIfClosed())};
}

LinkScript captureConfigureScript(std::uint8_t speedCommand, std::optional<std::uint8_t> modeCommand,
                                  std::uint8_t directionCommand)
{
    LinkScript script{write(speedCommand), pause(SpeedPauseMs)};
    if (modeCommand)
        script << discard() << write(*modeCommand);
    script << threshold(0) << discard() << discard()
           << write(CMD_VERSION) << await(VersionReplyLength, ReplyTimeoutMs) << read()
           << threshold(0) << discard() << write(directionCommand);
    return script;
}

LinkScript captureStopScript(bool discardFirst)
{
    LinkScript script;
    if (discardFirst)
        script << discard();
    script << critical(write(CMD_STOP));
    return script;
}

LinkScript simpleMonitorStartScript(std::optional<std::uint8_t> speedCommand,
                                    std::optional<std::uint8_t> directionCommand)
{
    LinkScript script{discard()};
    if (speedCommand)
        script << write(*speedCommand);
    script << pause(SpeedPauseMs) << threshold(2);
    if (directionCommand)
        script << write(*directionCommand);
    script << pause(SpeedPauseMs) << discard();
    return script;
}

LinkScript captureEndScript(bool quietBoard)
{
    LinkScript script{discard()};
    if (quietBoard)
        script << threshold(0) << write(CMD_STOP) << drain(StopDrainLimitMs);
    return script;
}

LinkScript simpleMonitorStopScript()
{
    return {discard(), threshold(0), write(CMD_STOP)};
}

LinkScript signalSampleScript()
{
    return {critical(openIfClosed()), threshold(0), discard(), write(CMD_SIGNALS),
            await(SignalReplyLength, ReplyTimeoutMs), read()};
}

LinkScript measurementScript()
{
    return {discard(), threshold(0), write(CMD_MEASURE), await(MeasureReplyLength, -1), read(),
            discard(), write(CMD_STOP)};
}

LinkScript measurementStopScript()
{
    return {discard(), write(CMD_STOP)};
}

} // namespace ferrox
