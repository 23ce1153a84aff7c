#include "modbusframes.h"

#include "framecharacters.h"
#include "texts.h"

#include <algorithm>

namespace ferrox {

namespace {

constexpr int exceptionBit = 0x80;

int byteAt(QByteArrayView bytes, qsizetype i)
{
    return std::uint8_t(bytes[i]);
}

int wordAt(QByteArrayView bytes, qsizetype i)
{
    return (byteAt(bytes, i) << 8) | byteAt(bytes, i + 1);
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

int coilBytes(int coils)
{
    return (coils + 7) / 8;
}

// The functions that write: the only ones a broadcast may carry.
bool mayBroadcast(int function)
{
    return function == 5 || function == 6 || function == 15 || function == 16 || function == 21 || function == 22;
}

// The reading of one frame's PDU (function code onwards, without the CRC):
// its summary, and what it breaks of the protocol's counts and limits.
class PduReader
{
public:
    PduReader(Frame &frame, QByteArrayView pdu) : m_frame(frame), m_pdu(pdu) {}

    void readRequest()
    {
        const int function = byteAt(m_pdu, 0);
        switch (function) {
        case 1: case 2: case 3: case 4:
            if (!expectLength(5))
                return;
            add(FrameTexts::startAndCount(word(1), word(3)));
            checkQuantity(word(3), function <= 2 ? 2000 : 125);
            return;
        case 5: case 6:
            readSingleWrite(function);
            return;
        case 15: case 16:
            if (m_pdu.size() < 6 || !expectLength(6 + byteAt(m_pdu, 5)))
                return;
            add(FrameTexts::startAndCount(word(1), word(3)));
            add(function == 15 ? bitsText(m_pdu.sliced(6), word(3)) : registersText(m_pdu.sliced(6)));
            checkQuantity(word(3), function == 15 ? 1968 : 123);
            checkByteCount(byteAt(m_pdu, 5), function == 15 ? coilBytes(word(3)) : 2 * word(3));
            return;
        case 23:
            if (m_pdu.size() < 10 || !expectLength(10 + byteAt(m_pdu, 9)))
                return;
            add(FrameTexts::readPart() + u' ' + FrameTexts::startAndCount(word(1), word(3)));
            add(FrameTexts::writePart() + u' ' + FrameTexts::startAndCount(word(5), word(7)));
            add(registersText(m_pdu.sliced(10)));
            checkQuantity(word(3), 125);
            checkQuantity(word(7), 121);
            checkByteCount(byteAt(m_pdu, 9), 2 * word(7));
            return;
        default:
            addRawData();
            return;
        }
    }

    // request: the PDU of the request it answers; empty when not known.
    void readResponse(QByteArrayView request)
    {
        const int function = byteAt(m_pdu, 0);
        if (function & exceptionBit) {
            if (!expectLength(2))
                return;
            const QString code = FrameTexts::exceptionCode(byteAt(m_pdu, 1));
            add(code);
            m_frame.note(FrameKind::Exception, code);
            return;
        }
        // Every request these answers names its quantity at the same place.
        const int asked = request.size() >= 5 ? wordAt(request, 3) : -1;
        switch (function) {
        case 1: case 2: case 3: case 4: case 23:
            if (m_pdu.size() < 2 || !expectLength(2 + byteAt(m_pdu, 1)))
                return;
            if (function <= 2)
                add(bitsText(m_pdu.sliced(2), asked >= 0 ? asked : int(m_pdu.size() - 2) * 8));
            else
                add(registersText(m_pdu.sliced(2)));
            if (asked >= 0)
                checkByteCount(byteAt(m_pdu, 1), function <= 2 ? coilBytes(asked) : 2 * asked);
            return;
        case 5: case 6:
            readSingleWrite(function);
            checkEcho(request, 5);
            return;
        case 15: case 16:
            if (!expectLength(5))
                return;
            add(FrameTexts::startAndCount(word(1), word(3)));
            checkEcho(request, 5);
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
        m_frame.fail(FrameKind::Length, m_pdu.size() < length ? FrameTexts::cutShort() : FrameTexts::lengthMismatch());
        return false;
    }

    void checkQuantity(int quantity, int most)
    {
        if (quantity < 1 || quantity > most)
            m_frame.fail(FrameKind::Range, FrameTexts::quantityOutOfRange(quantity, most));
    }

    void checkByteCount(int count, int wanted)
    {
        if (count != wanted)
            m_frame.fail(FrameKind::Count, FrameTexts::byteCountMismatch(count, wanted));
    }

    // A write's answer repeats the request's first `length` PDU bytes.
    void checkEcho(QByteArrayView request, qsizetype length)
    {
        if (request.size() >= length && m_pdu.size() >= length && m_pdu.first(length) != request.first(length))
            m_frame.fail(FrameKind::Echo, FrameTexts::echoDiffers());
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
            m_frame.fail(FrameKind::Range, FrameTexts::badCoilValue());
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

// A frame's unit as read; empty when it could not be.
using Units = QList<std::optional<QByteArray>>;

bool answers(const Frame &response, const std::optional<QByteArray> &responseUnit, const Frame &request,
             const std::optional<QByteArray> &requestUnit)
{
    if (response.direction == request.direction || !responseUnit || !requestUnit)
        return false;
    const int function = byteAt(*responseUnit, 1);
    const int asked = byteAt(*requestUnit, 1);
    return responseUnit->at(0) == requestUnit->at(0) && (function == asked || function == (asked | exceptionBit));
}

// The side that asks: the one whose frames the next frame answers more
// often (a capture may begin with an answer, and a write's answer looks
// like its request); with no such frames, or as many either way, the side
// of the first frame.
Direction askingSide(const QList<Frame> &frames, const Units &units)
{
    if (frames.isEmpty())
        return Direction::None;
    int votes = 0; // for J1 above 0, for J2 below
    for (qsizetype i = 0; i + 1 < frames.size(); ++i) {
        if (answers(frames.at(i + 1), units.at(i + 1), frames.at(i), units.at(i)))
            votes += frames.at(i).direction == Direction::J1 ? 1 : -1;
    }
    return votes > 0 ? Direction::J1 : votes < 0 ? Direction::J2 : frames.constFirst().direction;
}

} // namespace

void decodeModbusUnits(QList<Frame> &frames, const QList<std::optional<QByteArray>> &units)
{
    const Direction asking = askingSide(frames, units);
    qsizetype pending = -1;      // the request waiting for its response
    bool afterBroadcast = false; // the last request was a broadcast
    bool asked = false;          // a request has been seen: answers before it asked before the capture
    for (qsizetype i = 0; i < frames.size(); ++i) {
        Frame &frame = frames[i];
        if (!units.at(i))
            continue;
        const QByteArrayView unit(*units.at(i));
        const int address = byteAt(unit, 0);
        const int function = byteAt(unit, 1);
        PduReader reader(frame, unit.sliced(1));
        QString role;
        if (frame.direction != asking || (function & exceptionBit)) {
            QByteArrayView request;
            if (pending >= 0 && answers(frame, units.at(i), frames.at(pending), units.at(pending))) {
                Frame &question = frames[pending];
                frame.pairedFrame = qint32(pending);
                question.pairedFrame = qint32(i);
                if (frame.startMicros && question.endMicros)
                    frame.responseMicros = std::max<qint64>(0, *frame.startMicros - *question.endMicros);
                request = QByteArrayView(*units.at(pending)).sliced(1);
                pending = -1;
            } else if (afterBroadcast) {
                frame.fail(FrameKind::Broadcast, FrameTexts::answersBroadcast());
            } else if (pending >= 0) {
                // Left waiting: its own answer may still follow.
                frame.fail(FrameKind::Unpaired, FrameTexts::answersAnother(pending + 1));
            } else if (asked) {
                frame.fail(FrameKind::Unpaired, FrameTexts::answersNothing());
            }
            role = function & exceptionBit ? FrameTexts::exceptionResponse() : FrameTexts::response();
            reader.readResponse(request);
        } else {
            role = FrameTexts::request();
            reader.readRequest();
            if (address == 0 && !mayBroadcast(function))
                frame.fail(FrameKind::Broadcast, FrameTexts::broadcastOfRead());
            asked = true;
            afterBroadcast = address == 0;
            pending = afterBroadcast ? -1 : i; // nobody answers a broadcast
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
