#include "exportformats.h"

#include "data/characterrules.h"
#include "textfields.h"

#include <QtEndian>

#include <limits>

namespace ferrox {

namespace {

// Large enough for the longest run a full buffer can hold.
constexpr quint32 pcapSnapLength = 262144;
constexpr int serialHeaderLength = 12;

template<typename T>
void appendLittle(QByteArray &out, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof(T));
}

template<typename T>
void appendBig(QByteArray &out, T value)
{
    char raw[sizeof(T)];
    qToBigEndian(value, raw);
    out.append(raw, sizeof(T));
}

QByteArray pcapOf(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times)
{
    QByteArray out = pcapFileHeader();
    QByteArray run;
    for (qsizetype first = 0; first < bytes.bytes.size();) {
        const Direction direction = bytes.bytes.at(first).direction;
        qsizetype end = first;
        run.clear();
        for (; end < bytes.bytes.size() && bytes.bytes.at(end).direction == direction; ++end)
            run.append(char(bytes.bytes.at(end).value));
        const std::optional<qint64> arrival = times ? times->microsAt(bytes.bytes.at(first).offset) : std::nullopt;
        appendPcapRecord(out, direction, run, arrival ? times->startEpochMicros + *arrival : 0);
        first = end;
    }
    return out;
}

} // namespace

bool timesFitPcap(const ArrivalTimes &times)
{
    constexpr qint64 pcapEndMicros = (qint64(std::numeric_limits<quint32>::max()) + 1) * 1000000;
    const qint64 last = times.arrivals.isEmpty() ? 0 : times.arrivals.constLast().micros;
    return times.startEpochMicros >= 0 && times.startEpochMicros < pcapEndMicros - last;
}

QByteArray exportRowsHead(ExportFormat format)
{
    return format == ExportFormat::Csv ? QByteArrayLiteral("index,direction,hex,decimal,character,arrival_us\r\n")
                                       : QByteArray();
}

QByteArray exportRows(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times, ExportFormat format,
                      qint64 firstIndex)
{
    const bool csv = format == ExportFormat::Csv;
    QByteArray out;
    for (qsizetype i = 0; i < bytes.bytes.size(); ++i) {
        const MonitoredByte &byte = bytes.bytes.at(i);
        const QByteArray direction = byte.direction == Direction::J1 ? "J1" : "J2";
        const QByteArray hex = QByteArray::number(byte.value, 16).toUpper().rightJustified(2, '0');
        const QString character = byteCell(byte.value);
        const std::optional<qint64> arrival = times ? times->microsAt(byte.offset) : std::nullopt;
        if (csv) {
            out += QByteArray::number(firstIndex + i) + ',' + direction + ',' + hex + ',' + QByteArray::number(byte.value) + ','
                + csvField(character) + ',' + (arrival ? QByteArray::number(*arrival) : QByteArray()) + "\r\n";
        } else {
            out += "{\"index\":" + QByteArray::number(firstIndex + i) + ",\"direction\":\"" + direction + "\",\"hex\":\"" + hex
                + "\",\"decimal\":" + QByteArray::number(byte.value) + ",\"character\":" + jsonString(character)
                + ",\"arrival_us\":" + (arrival ? QByteArray::number(*arrival) : QByteArray("null")) + "}\n";
        }
    }
    return out;
}

QByteArray pcapFileHeader()
{
    QByteArray out;
    appendLittle<quint32>(out, 0xA1B2C3D4); // microsecond timestamps
    appendLittle<quint16>(out, 2);
    appendLittle<quint16>(out, 4);
    appendLittle<qint32>(out, 0);  // times are UTC
    appendLittle<quint32>(out, 0); // accuracy
    appendLittle<quint32>(out, pcapSnapLength);
    appendLittle<quint32>(out, pcapLinkTypeSerial);
    return out;
}

void appendPcapRecord(QByteArray &out, Direction sender, QByteArrayView values, qint64 epochMicros)
{
    const auto seconds = quint32(epochMicros / 1000000);
    const auto micros = quint32(epochMicros % 1000000);
    const auto length = quint32(serialHeaderLength + values.size());
    appendLittle<quint32>(out, seconds);
    appendLittle<quint32>(out, micros);
    appendLittle<quint32>(out, length);
    appendLittle<quint32>(out, length);
    appendBig<quint32>(out, seconds);
    appendBig<quint32>(out, micros);
    out.append(char(sender == Direction::J1 ? serialEventSentByJ1 : serialEventSentByJ2));
    out.append(char(0));        // control lines: not monitored
    appendBig<quint16>(out, 0); // footer
    out.append(values);
}

std::optional<ExportFormat> exportFormatNamed(const QString &name)
{
    if (name == QLatin1String("pcap"))
        return ExportFormat::Pcap;
    if (name == QLatin1String("csv"))
        return ExportFormat::Csv;
    if (name == QLatin1String("jsonl"))
        return ExportFormat::JsonLines;
    return std::nullopt;
}

QByteArray exportBytes(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times, ExportFormat format)
{
    return format == ExportFormat::Pcap ? pcapOf(bytes, times) : exportRowsHead(format) + exportRows(bytes, times, format, 0);
}

} // namespace ferrox
