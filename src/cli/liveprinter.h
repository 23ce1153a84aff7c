#pragma once

#include "platform/liveoutput.h"

#include "capture/livetextlines.h"

#include <QObject>
#include <QTimer>

#include <optional>

namespace ferrox::cli {

// How live output shows the monitored bytes: as lines (see LiveTextLines)
// or as a pcap stream (the export's file header, then one record per run
// of one sender's bytes in each read, stamped with the read's time).
enum class LiveForm { Lines, Hex, Text, Pcap };

// "lines", "hex", "text", "pcap".
std::optional<LiveForm> liveFormNamed(const QString &name);

// Monitored bytes written while they arrive, through a LiveOutput: a line
// waiting for more bytes is written once it has been idle for the gap; a
// pcap record goes out with the read that brought its bytes.
class LivePrinter : public QObject
{
    Q_OBJECT
public:
    LivePrinter(int fd, LiveForm form, int gapMs, QObject *parent = nullptr);

    void feed(const std::vector<LiveByte> &bytes, qint64 epochMicros);
    // Writes the pending line, then lets the output finish.
    void finish();

    LiveOutput &output() { return m_output; }

private:
    LiveOutput m_output;
    std::optional<LiveTextLines> m_lines; // none for pcap
    QTimer m_gap;
};

// Ends the program with `status` once each printer told to finish has
// written what waits for its reader (a second at most).
void endAfterLiveOutputs(const QList<LivePrinter *> &printers, int status);

} // namespace ferrox::cli
