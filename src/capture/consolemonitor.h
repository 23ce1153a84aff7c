#pragma once

#include "liveview.h"

#include "link/consolecheck.h"
#include "link/exchanges.h"
#include "simplemonitorlink.h"

#include <QObject>
#include <QString>

#include <vector>

namespace ferrox {

class LinkOwner;

// The simple monitor for programs without a window (ferrox-cli monitor):
// the connection check, then the board's stream with the same bytes on the
// wire as the window's monitor (speed and direction, no data width, no
// version request), decoded by the same rule and handed on block by block
// with the time each block was read: every arrival is read at once. A byte
// whose two halves came in separate reads carries the time of the read
// that completed it, its low half's, as a capture's arrival times date it
// (by the stream byte that completes it), so the live and the stored view
// of one line agree. Nothing is stored.
//
// The stop sends what switching the window's monitor off sends and ends
// with finished(). A port that fails while the board streams (an
// unplugged adapter) ends the monitor with the port's message. One run per
// object.
class ConsoleMonitor : public QObject
{
    Q_OBJECT
public:
    explicit ConsoleMonitor(LinkOwner &owner, QObject *parent = nullptr);

    // settings: the link (its port also names it in texts: a device path,
    // "COM1"), the monitored speed and the direction.
    void start(const MonitorSettings &settings);
    // Held against the firmware before the board is set up (none by default).
    void setSettingsCheck(ConsoleSettingsCheck check) { m_settingsCheck = std::move(check); }
    // Asked for before the stream runs, the stop follows the start at once.
    // Repeats do nothing.
    void requestStop();

signals:
    // The check's text (LF line ends).
    void logText(const QString &text);
    void streamStarted();
    // The monitored bytes of one read and its time in microseconds since
    // 1970-01-01 UTC.
    void received(const std::vector<LiveByte> &bytes, qint64 epochMicros);
    // The end: failure is empty after a stop, else why the monitor ended
    // (the check failed, or the port did), with LF line ends.
    void finished(const QString &failure);

private:
    void onReceive();
    void onLineError(int errorCode);
    void finish(const QString &failure);

    LinkOwner &m_owner;
    SimpleMonitorLink m_link;
    MonitorSettings m_settings;
    ConsoleSettingsCheck m_settingsCheck;
    LiveByteDecoder m_decoder{LiveByteDecoder::Rule::SimpleMonitor};
    bool m_streaming = false;
    bool m_stopRequested = false;
    bool m_finished = false;
};

} // namespace ferrox
