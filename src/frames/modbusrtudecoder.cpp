#include "modbusrtudecoder.h"

#include "blockchecks.h"
#include "framecharacters.h"
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

int wordAt(QByteArrayView bytes, qsizetype i)
{
    return (byteAt(bytes, i) << 8) | byteAt(bytes, i + 1);
}

bool crcHolds(QByteArrayView frame)
{
    const qsizetype body = frame.size() - 2;
    return crc16Modbus(frame.first(body)) == (byteAt(frame, body) | (byteAt(frame, body + 1) << 8));
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

QString wordText(int value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString registersText(QByteArrayView data)
{
    QStringList values;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        values << wordText(wordAt(data, i));
    return FrameTexts::values() + u' ' + values.join(u' ');
}

// Coil or input states, first coil first: the low bit of each byte first.
QString bitsText(QByteArrayView data, int count)
{
    QString bits;
    for (int i = 0; i < count && i / 8 < data.size(); ++i)
        bits += (byteAt(data, i / 8) >> (i % 8)) & 1 ? u'1' : u'0';
    return FrameTexts::values() + u' ' + bits;
}

// The reading of one frame's PDU (function code onwards, without the CRC).
class PduReader
{
public:
    PduReader(Frame &frame, QByteArrayView pdu) : m_frame(frame), m_pdu(pdu) {}

    void readRequest()
    {
        const int function = byteAt(m_pdu, 0);
        switch (function) {
        case 1: case 2: case 3: case 4:
            if (expectLength(5))
                add(FrameTexts::startAndCount(word(1), word(3)));
            return;
        case 5: case 6:
            readSingleWrite(function);
            return;
        case 15: case 16:
            if (m_pdu.size() < 6 || !expectLength(6 + byteAt(m_pdu, 5)))
                return;
            add(FrameTexts::startAndCount(word(1), word(3)));
            add(function == 15 ? bitsText(m_pdu.sliced(6), word(3)) : registersText(m_pdu.sliced(6)));
            return;
        case 23:
            if (m_pdu.size() < 10 || !expectLength(10 + byteAt(m_pdu, 9)))
                return;
            add(FrameTexts::readPart() + u' ' + FrameTexts::startAndCount(word(1), word(3)));
            add(FrameTexts::writePart() + u' ' + FrameTexts::startAndCount(word(5), word(7)));
            add(registersText(m_pdu.sliced(10)));
            return;
        default:
            addRawData();
            return;
        }
    }

    // requestCount: the quantity the paired request asked for, or -1.
    void readResponse(int requestCount)
    {
        const int function = byteAt(m_pdu, 0);
        if (function & exceptionBit) {
            if (!expectLength(2))
                return;
            const QString code = FrameTexts::exceptionCode(byteAt(m_pdu, 1));
            add(code);
            m_frame.fail(code);
            return;
        }
        switch (function) {
        case 1: case 2: case 3: case 4: case 23:
            if (m_pdu.size() < 2 || !expectLength(2 + byteAt(m_pdu, 1)))
                return;
            if (function <= 2)
                add(bitsText(m_pdu.sliced(2), requestCount >= 0 ? requestCount : int(m_pdu.size() - 2) * 8));
            else
                add(registersText(m_pdu.sliced(2)));
            return;
        case 5: case 6:
            readSingleWrite(function);
            return;
        case 15: case 16:
            if (expectLength(5))
                add(FrameTexts::startAndCount(word(1), word(3)));
            return;
        default:
            addRawData();
            return;
        }
    }

    QString text() const { return m_parts.join(u' '); }

private:
    int word(qsizetype i) const { return wordAt(m_pdu, i); }
    void add(const QString &part) { m_parts << part; }

    bool expectLength(qsizetype length)
    {
        if (m_pdu.size() == length)
            return true;
        m_frame.fail(m_pdu.size() < length ? FrameTexts::cutShort() : FrameTexts::lengthMismatch());
        return false;
    }

    void readSingleWrite(int function)
    {
        if (!expectLength(5))
            return;
        if (function == 6) {
            add(QString::number(word(1)) + QStringLiteral(" = ") + wordText(word(3)));
            return;
        }
        const int value = word(3);
        add(QString::number(word(1)) + QStringLiteral(" = ")
            + (value == 0xFF00 ? FrameTexts::coilOn() : value == 0 ? FrameTexts::coilOff() : frameHex(m_pdu.sliced(3))));
        if (value != 0xFF00 && value != 0)
            m_frame.fail(FrameTexts::badCoilValue());
    }

    void addRawData()
    {
        if (m_pdu.size() > 1)
            add(frameHex(m_pdu.sliced(1)));
    }

    Frame &m_frame;
    QByteArrayView m_pdu;
    QStringList m_parts;
};

bool answers(const Frame &response, const Frame &request)
{
    if (response.direction == request.direction || response.bytes.size() < minimumFrame)
        return false;
    const int function = byteAt(response.bytes, 1);
    const int asked = byteAt(request.bytes, 1);
    return response.bytes.at(0) == request.bytes.at(0) && (function == asked || function == (asked | exceptionBit));
}

// The coil count a request of function 1, 2 or 15 asked for; -1 otherwise.
int coilCount(const Frame &request)
{
    const int function = byteAt(request.bytes, 1);
    const bool coils = function == 1 || function == 2 || function == 15;
    return coils && request.bytes.size() >= 8 ? wordAt(request.bytes, 4) : -1;
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

void ModbusRtuDecoder::decodeFrames(QList<Frame> &frames) const
{
    qsizetype pending = -1; // the request waiting for its response
    for (qsizetype i = 0; i < frames.size(); ++i) {
        Frame &frame = frames[i];
        const QByteArrayView bytes(frame.bytes);
        if (frame.overLong)
            frame.fail(FrameTexts::overLong());
        if (bytes.size() < minimumFrame) {
            frame.summary = frameHex(bytes);
            frame.fail(FrameTexts::tooShortForModbus());
            continue;
        }
        if (!crcHolds(bytes)) {
            const qsizetype body = bytes.size() - 2;
            frame.fail(FrameTexts::checkFailed(QStringLiteral("CRC"), crc16Modbus(bytes.first(body)),
                                               byteAt(bytes, body) | (byteAt(bytes, body + 1) << 8), 4));
        }
        const bool paired = pending >= 0 && answers(frame, frames.at(pending));
        const int address = byteAt(bytes, 0);
        const int function = byteAt(bytes, 1);
        PduReader reader(frame, bytes.sliced(1, bytes.size() - 3));
        QString role;
        // An exception is a response even when its request is not in the capture.
        if (paired || (function & exceptionBit)) {
            int requestCount = -1;
            if (paired) {
                Frame &request = frames[pending];
                frame.pairedFrame = qint32(pending);
                request.pairedFrame = qint32(i);
                if (frame.startMicros && request.endMicros)
                    frame.responseMicros = std::max<qint64>(0, *frame.startMicros - *request.endMicros);
                requestCount = coilCount(request);
            }
            role = function & exceptionBit ? FrameTexts::exceptionResponse() : FrameTexts::response();
            reader.readResponse(requestCount);
            pending = -1;
        } else {
            role = FrameTexts::request();
            reader.readRequest();
            pending = address == 0 ? -1 : i; // nobody answers a broadcast
        }
        const int plainFunction = function & ~exceptionBit;
        frame.summary = QStringList {role,
                                     address == 0 ? FrameTexts::broadcast() : FrameTexts::slave(address),
                                     QStringLiteral("FC%1").arg(plainFunction, 2, 10, QLatin1Char('0')),
                                     FrameTexts::functionName(plainFunction), reader.text()}
                            .join(u' ')
                            .trimmed();
        if (frame.verdict != FrameVerdict::Bad)
            frame.verdict = FrameVerdict::Good;
    }
}

} // namespace ferrox
