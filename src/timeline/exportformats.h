#pragma once

#include "data/arrivaltimes.h"
#include "monitoredbytes.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

enum class ExportFormat {
    // A pcap capture file of link type LINKTYPE_RTAC_SERIAL (250) that
    // Wireshark and tshark read: one record per direction run, each with
    // the serial-line header (arrival time, event type "data Tx start" for
    // J1's bytes and "data Rx start" for J2's, no control lines). Records
    // carry the run's arrival time when known, else 1970-01-01 plus zero.
    Pcap,
    // One row per monitored byte, UTF-8, CR LF:
    // "index,direction,hex,decimal,character,arrival_us".
    Csv,
    // One JSON object per monitored byte and line, UTF-8, LF, with the keys
    // of the CSV columns; arrival_us is null when unknown.
    JsonLines,
};

// "pcap", "csv", "jsonl".
std::optional<ExportFormat> exportFormatNamed(const QString &name);

// index counts monitored bytes from 0; direction is "J1" (sent by J1,
// J1→J2) or "J2"; character is the byte itself for printable ASCII and
// half-width katakana (0xA1–0xDF), the control code's name for the named
// codes ("[STX]"), else empty; arrival_us is the arrival of the byte's
// piece in microseconds since the capture's start.
QByteArray exportBytes(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times, ExportFormat format);

// The CSV and JSON lines forms in parts, for an export written piece by
// piece (a series, file by file): the head (CSV's column names), then the
// rows of each piece, whose indices go on from firstIndex.
QByteArray exportRowsHead(ExportFormat format);
QByteArray exportRows(const MonitoredBytes &bytes, const std::optional<ArrivalTimes> &times, ExportFormat format,
                      qint64 firstIndex);

// The pieces of a pcap stream written as bytes arrive: the file header,
// then one record per run of one sender's bytes, stamped epochMicros
// (microseconds since 1970-01-01 UTC; 0 when unknown). A sender of None
// is written as J2's.
QByteArray pcapFileHeader();
void appendPcapRecord(QByteArray &out, Direction sender, QByteArrayView values, qint64 epochMicros);

// True when every arrival of `times` falls within the seconds a pcap
// record holds (1970-01-01 to 2106-02-07, UTC): a start hand-edited to the
// year 1900 or 9999 would wrap round.
bool timesFitPcap(const ArrivalTimes &times);

// The event types of the serial-line header.
constexpr std::uint8_t pcapLinkTypeSerial = 250;
constexpr std::uint8_t serialEventSentByJ1 = 0x01; // data Tx start
constexpr std::uint8_t serialEventSentByJ2 = 0x02; // data Rx start

} // namespace ferrox
