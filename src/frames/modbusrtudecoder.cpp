#include "modbusrtudecoder.h"

#include "blockchecks.h"
#include "framecharacters.h"
#include "modbusframes.h"
#include "texts.h"

#include <algorithm>

namespace ferrox {

namespace {

constexpr qsizetype minimumFrame = 4; // address, function, CRC
constexpr int exceptionBit = 0x80;

int byteAt(QByteArrayView bytes, qsizetype i)
{
    return std::uint8_t(bytes[i]);
}

bool crcHolds(QByteArrayView frame)
{
    return frame.last(2) == crc16ModbusBytes(frame.first(frame.size() - 2));
}

// The frame lengths a request or a response of the frame's function would
// have, as far as the bytes present tell them.
QList<qsizetype> completeLengths(QByteArrayView bytes)
{
    const int function = byteAt(bytes, 1);
    const auto countAt = [&bytes](qsizetype i) { return i < bytes.size() ? byteAt(bytes, i) : -1; };
    QList<qsizetype> lengths;
    const auto add = [&lengths](qsizetype fixed, int count) {
        if (count >= 0)
            lengths << fixed + count;
    };
    if (function & exceptionBit) {
        lengths << 5;
    } else if (function >= 1 && function <= 6) {
        lengths << 8;
        if (function <= 4)
            add(5, countAt(2));
    } else if (function == 15 || function == 16) {
        lengths << 8;
        add(9, countAt(6));
    } else if (function == 23) {
        add(13, countAt(10));
        add(5, countAt(2));
    }
    std::sort(lengths.begin(), lengths.end());
    return lengths;
}
} // namespace

std::optional<qint64> ModbusRtuDecoder::idleGapMicros(qint32 baud) const
{
    return baud > 19200 ? 1750 : threeAndAHalfCharacters(baud, 11);
}

qsizetype ModbusRtuDecoder::firstFrameLength(QByteArrayView bytes) const
{
    if (bytes.size() <= minimumFrame || crcHolds(bytes))
        return bytes.size();
    for (const qsizetype length : completeLengths(bytes)) {
        if (length >= minimumFrame && length < bytes.size() && crcHolds(bytes.first(length)))
            return length;
    }
    return bytes.size();
}

QByteArrayView ModbusRtuDecoder::lastMessage(QByteArrayView bytes) const
{
    qsizetype at = 0;
    for (qsizetype length = firstFrameLength(bytes); at + length < bytes.size();
         length = firstFrameLength(bytes.sliced(at)))
        at += length;
    return bytes.sliced(at);
}

bool ModbusRtuDecoder::endsOpen(QByteArrayView before) const
{
    // A complete message is ended by the gap.
    const QByteArrayView tail = lastMessage(before);
    return tail.size() < minimumFrame || !crcHolds(tail);
}

bool ModbusRtuDecoder::continuesAcross(QByteArrayView before, QByteArrayView after) const
{
    if (!endsOpen(before))
        return false;
    const QByteArrayView tail = lastMessage(before);
    const QByteArray joined = tail.toByteArray() + after.first(std::min(after.size(), maxFrameLength() - tail.size())).toByteArray();
    if (joined.size() < minimumFrame)
        return false;
    const QList<qsizetype> lengths = completeLengths(joined);
    for (const qsizetype length : lengths) {
        if (length > tail.size() && length <= joined.size() && crcHolds(QByteArrayView(joined).first(length)))
            return true;
    }
    // The bytes after the gap, all of them, make up exactly the length of
    // its function's message: one message with a broken CRC, not two
    // fragments (arrival times cannot tell a busy PC's late read from a
    // silence on the line).
    return joined.size() == tail.size() + after.size() && lengths.contains(joined.size());
}

void ModbusRtuDecoder::decodeFrames(QList<Frame> &frames) const
{
    QList<std::optional<QByteArray>> units;
    units.reserve(frames.size());
    for (Frame &frame : frames) {
        const QByteArrayView bytes(frame.bytes);
        if (frame.overLong)
            frame.fail(FrameKind::Length, FrameTexts::overLong());
        if (bytes.size() < minimumFrame) {
            frame.summary = frameHex(bytes);
            frame.fail(FrameKind::Length, FrameTexts::tooShortForModbus());
            units.append(std::nullopt);
            continue;
        }
        if (!crcHolds(bytes)) {
            frame.fail(FrameKind::Crc, FrameTexts::checkFailed(QStringLiteral("CRC"),
                                                               frameHex(crc16ModbusBytes(bytes.first(bytes.size() - 2))),
                                                               frameHex(bytes.last(2))));
        }
        units.append(bytes.first(bytes.size() - 2).toByteArray());
    }
    decodeModbusUnits(frames, units);
}

} // namespace ferrox
