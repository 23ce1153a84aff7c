#include "framedecoder.h"

#include "fixedlengthdecoder.h"
#include "linesdecoder.h"
#include "modbusasciidecoder.h"
#include "modbusrtudecoder.h"
#include "stxetxdecoder.h"
#include "texts.h"

#include <algorithm>

namespace ferrox {

void PerFrameDecoder::decodeFrames(QList<Frame> &frames) const
{
    for (Frame &frame : frames) {
        decodeFrame(frame);
        if (frame.overLong)
            frame.fail(FrameKind::Length, FrameTexts::overLong());
    }
}

qint64 threeAndAHalfCharacters(qint32 baud, int bitsPerCharacter)
{
    const qint64 rate = std::max(1, baud);
    return (qint64(35) * bitsPerCharacter * 1000000 + 10 * rate - 1) / (10 * rate);
}

std::unique_ptr<FrameDecoder> makeDecoder(const QString &name)
{
    if (name == QLatin1String("lines"))
        return std::make_unique<LinesDecoder>();
    if (name == QLatin1String("modbus-rtu"))
        return std::make_unique<ModbusRtuDecoder>();
    if (name == QLatin1String("modbus-ascii"))
        return std::make_unique<ModbusAsciiDecoder>();
    const struct
    {
        const char *name;
        BlockCheck check;
    } stxEtx[] = {{"stx-etx", BlockCheck::None},
                  {"stx-etx:xor", BlockCheck::Xor},
                  {"stx-etx:sum", BlockCheck::Sum},
                  {"stx-etx:crc16", BlockCheck::Crc16}};
    for (const auto &variant : stxEtx) {
        if (name == QLatin1String(variant.name))
            return std::make_unique<StxEtxDecoder>(variant.check);
    }
    if (name.startsWith(QLatin1String("fixed:"))) {
        bool ok = false;
        const int length = name.mid(6).toInt(&ok);
        if (ok && length >= 1 && length <= 4096)
            return std::make_unique<FixedLengthDecoder>(length);
    }
    return nullptr;
}

QStringList decoderNames()
{
    return {QStringLiteral("lines"), QStringLiteral("stx-etx"), QStringLiteral("stx-etx:xor"),
            QStringLiteral("stx-etx:sum"), QStringLiteral("stx-etx:crc16"), QStringLiteral("fixed:N"),
            QStringLiteral("modbus-rtu"), QStringLiteral("modbus-ascii")};
}

} // namespace ferrox
