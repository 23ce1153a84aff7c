#include "framingoptions.h"

#include "frames/framepcap.h"

#include <cmath>

namespace ferrox::cli {

namespace {

// --gap in milliseconds, decimals allowed; an empty optional when absent.
bool parseGap(const QString &text, std::optional<qint64> &micros)
{
    if (text.isEmpty())
        return true;
    bool ok = false;
    const double ms = text.toDouble(&ok);
    if (!ok || !std::isfinite(ms) || ms < 0 || ms > 60000)
        return false;
    micros = qint64(ms * 1000 + 0.5);
    return true;
}

} // namespace

QList<CliOption> framingOptions(const QString &decoderHelp)
{
    return {
        {QStringLiteral("decoder"), QStringLiteral("NAME"), decoderHelp},
        {QStringLiteral("gap"), QStringLiteral("MS"),
         QStringLiteral("idle time that ends a frame (default 3.5 characters at --monitor-speed)")},
        {QStringLiteral("monitor-speed"), QStringLiteral("N"), QStringLiteral("monitored line's speed in baud (default 9600)")},
        {QStringLiteral("data-width"), QStringLiteral("8|9"), QStringLiteral("monitored data width (default 8)")},
    };
}

std::optional<Framing> readFraming(CliArguments &args, const QString &fallbackDecoder)
{
    Framing framing;
    const QString name = args.value(QStringLiteral("decoder"), fallbackDecoder);
    framing.decoder = name.isEmpty() ? std::make_unique<PlainFrames>() : makeDecoder(name);
    if (!framing.decoder) {
        args.usageError(QStringLiteral("--decoder takes ") + decoderNames().join(QStringLiteral(", ")));
        return std::nullopt;
    }
    if (!parseGap(args.value(QStringLiteral("gap"), QString()), framing.options.gapMicros)) {
        args.usageError(QStringLiteral("--gap takes milliseconds from 0 to 60000"));
        return std::nullopt;
    }
    const std::optional<int> baud = args.number(QStringLiteral("monitor-speed"), 50, 4000000, 9600);
    if (!baud)
        return std::nullopt;
    framing.options.monitoredBaud = *baud;
    const QString width = args.value(QStringLiteral("data-width"), QStringLiteral("8"));
    if (width != QLatin1String("8") && width != QLatin1String("9")) {
        args.usageError(QStringLiteral("--data-width takes 8 or 9"));
        return std::nullopt;
    }
    framing.options.bitsPerCharacter = width == QLatin1String("9") ? 11 : 10;
    return framing;
}

} // namespace ferrox::cli
