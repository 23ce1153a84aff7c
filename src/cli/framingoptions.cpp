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

namespace {

// Null after a usage error (printed).
std::unique_ptr<FrameDecoder> decoderNamed(CliArguments &args, const QString &name)
{
    std::unique_ptr<FrameDecoder> decoder = makeDecoder(name);
    if (!decoder)
        args.usageError(QStringLiteral("--decoder takes ") + decoderNames().join(QStringLiteral(", ")));
    return decoder;
}

} // namespace

std::optional<Framing> readFraming(CliArguments &args, const QString &fallbackDecoder)
{
    Framing framing;
    const QString name = args.value(QStringLiteral("decoder"), fallbackDecoder);
    framing.decoder = name.isEmpty() ? std::make_unique<PlainFrames>() : decoderNamed(args, name);
    if (!framing.decoder)
        return std::nullopt;
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

CliOption recordDecoderOption()
{
    return {QStringLiteral("decoder"), QStringLiteral("NAME"),
            QStringLiteral("with --format pcap: a record also ends where this protocol's message ends, and a gap\n"
                           "                          its check bridges ends none (as export --decoder cuts them)")};
}

std::optional<std::shared_ptr<const FrameDecoder>> readRecordDecoder(CliArguments &args, bool livePcap)
{
    const QString name = args.value(QStringLiteral("decoder"), QString());
    if (name.isEmpty() || name == QLatin1String("none"))
        return std::shared_ptr<const FrameDecoder>();
    if (!livePcap) {
        args.usageError(QStringLiteral("--decoder cuts pcap records; it needs --format pcap"));
        return std::nullopt;
    }
    std::unique_ptr<FrameDecoder> decoder = decoderNamed(args, name);
    if (!decoder)
        return std::nullopt;
    return std::shared_ptr<const FrameDecoder>(std::move(decoder));
}

} // namespace ferrox::cli
