#include "framingoptions.h"

#include "frames/framepcap.h"
#include "settings/settingsschema.h"

namespace ferrox::cli {

QList<CliOption> framingOptions(const QString &decoderHelp)
{
    return {
        {QStringLiteral("decoder"), QStringLiteral("NAME"), decoderHelp},
        {QStringLiteral("gap"), QStringLiteral("MS"),
         QStringLiteral("idle time that ends a frame (default 3.5 characters at --monitor-speed;\n"
                        "                          modbus-rtu: 11-bit characters, 1.75 ms above 19200 baud; modbus-ascii: 1 s)")},
        {QStringLiteral("monitor-speed"), QStringLiteral("N"),
         QStringLiteral("monitored line's speed in baud (default %1)").arg(*firstRunSettings().monitoredSpeed)},
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
    // In milliseconds, decimals allowed; absent, the framer's own.
    if (args.isSet(QStringLiteral("gap"))) {
        const std::optional<double> gapMs = args.decimal(QStringLiteral("gap"), 0, 60000, 0);
        if (!gapMs)
            return std::nullopt;
        framing.options.gapMicros = qint64(*gapMs * 1000 + 0.5);
    }
    const std::optional<int> baud = args.number(QStringLiteral("monitor-speed"), 50, 4000000, *firstRunSettings().monitoredSpeed);
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
