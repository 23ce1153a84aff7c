#include "modbusasciidecoder.h"

#include "blockchecks.h"
#include "framecharacters.h"
#include "framefilter.h"
#include "modbusframes.h"
#include "texts.h"

namespace ferrox {

namespace {

constexpr char colon = ':', LF = 0x0A;

// The unit of one frame, its LRC checked; empty (the frame failed) when
// its characters cannot give one.
std::optional<QByteArray> unitOf(Frame &frame)
{
    QByteArrayView body(frame.bytes);
    if (body.isEmpty() || body.front() != colon) {
        frame.summary = frameText(body);
        frame.fail(FrameKind::Length, FrameTexts::noColon());
        return std::nullopt;
    }
    body = body.sliced(1);
    if (body.endsWith("\r\n"))
        body.chop(2);
    else
        frame.fail(FrameKind::Length, FrameTexts::cutShort());
    const std::optional<BytePattern> pairs = BytePattern::fromHex(QString::fromLatin1(body));
    if (!pairs || pairs->highNibble || body.contains(' ')) {
        frame.summary = frameText(frame.bytes);
        frame.fail(FrameKind::Length, FrameTexts::notHexPairs());
        return std::nullopt;
    }
    const QByteArray &bytes = pairs->bytes;
    if (bytes.size() < 3) {
        frame.summary = frameText(frame.bytes);
        frame.fail(FrameKind::Length, FrameTexts::tooShortForModbusAscii());
        return std::nullopt;
    }
    const QByteArray unit = bytes.first(bytes.size() - 1);
    const QByteArray computed(1, char(lrcCheck(unit)));
    if (computed != bytes.last(1))
        frame.fail(FrameKind::Crc, FrameTexts::checkFailed(QStringLiteral("LRC"), frameHex(computed), frameHex(bytes.last(1))));
    return unit;
}

} // namespace

qsizetype ModbusAsciiDecoder::firstFrameLength(QByteArrayView bytes) const
{
    const qsizetype nextColon = bytes.indexOf(colon, 1);
    if (bytes.front() != colon) // noise, up to the next ':'
        return nextColon > 0 ? nextColon : bytes.size();
    const qsizetype lf = bytes.indexOf(LF);
    const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
    return nextColon > 0 && nextColon < end ? nextColon : end;
}

std::optional<qint64> ModbusAsciiDecoder::idleGapMicros(qint32 baud) const
{
    Q_UNUSED(baud);
    return 1000000;
}

void ModbusAsciiDecoder::decodeFrames(QList<Frame> &frames) const
{
    QList<std::optional<QByteArray>> units;
    units.reserve(frames.size());
    for (Frame &frame : frames) {
        if (frame.overLong)
            frame.fail(FrameKind::Length, FrameTexts::overLong());
        units.append(unitOf(frame));
    }
    decodeModbusUnits(frames, units);
}

} // namespace ferrox
