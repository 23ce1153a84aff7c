#pragma once

#include "platform/liveoutput.h"

#include "capture/livetextlines.h"
#include "frames/liveframecutter.h"
#include "settings/monitorsettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace ferrox::cli {

// How live output shows the monitored bytes: as lines (see LiveTextLines)
// or as a pcap stream (the export's file header, then one record per
// frame as the frame view cuts it, without a decoder unless one is given,
// stamped with the arrival of its first byte).
enum class LiveForm { Lines, Hex, Text, Pcap };

// "lines", "hex", "text", "pcap".
std::optional<LiveForm> liveFormNamed(const QString &name);

// How the live pcap of a monitored line cuts its records: the frame
// view's rule at the line's speed and data width; `gapMicros` as the
// user set it, if so.
FramerOptions pcapRecordRule(const MonitorSettings &line, std::optional<qint64> gapMicros = std::nullopt);

// Monitored bytes written while they arrive, through a LiveOutput: a line
// or a pcap record waiting for more bytes is written once it has been idle
// for its gap, or when the next byte ends it.
class LivePrinter : public QObject
{
    Q_OBJECT
public:
    // Lines, hex or text, a line ended by an idle gap of gapMs.
    LivePrinter(int fd, LiveForm form, int gapMs, QObject *parent = nullptr);
    // A pcap stream, its records cut by `records` and, when one is given,
    // where `decoder` ends its protocol's messages.
    LivePrinter(int fd, const FramerOptions &records, std::shared_ptr<const FrameDecoder> decoder = {},
                QObject *parent = nullptr);

    void feed(const std::vector<LiveByte> &bytes, qint64 epochMicros);
    // Writes the pending line or record, then lets the output finish.
    void finish();

    LiveOutput &output() { return m_output; }

private:
    LiveOutput m_output;
    std::optional<LiveTextLines> m_lines;   // lines, hex or text
    std::optional<LiveFrameCutter> m_records; // pcap
    QTimer m_gap;
    int m_gapMs = 0;
    QElapsedTimer m_sinceFeed;

    void setGap(qint64 gapMicros);
    void onQuiet();
    void writeRecords(const QList<LiveFrame> &frames);
};

// Ends the program with `status` once each printer told to finish has
// written what waits for its reader (a second at most).
void endAfterLiveOutputs(const QList<LivePrinter *> &printers, int status);

} // namespace ferrox::cli
