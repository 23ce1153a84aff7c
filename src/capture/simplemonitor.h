#pragma once

#include "livelines.h"
#include "liveview.h"
#include "simplemonitorlink.h"

#include <QObject>

namespace ferrox {

class LinkOwner;
class MonitorSession;

// What the simple monitor reads from and does to the window around it.
class SimpleMonitorContext
{
public:
    virtual ~SimpleMonitorContext();

    virtual void setSamplingEnabled(bool enabled) = 0; // Timer1
    virtual void disableSignalPanel() = 0;
    virtual void enableSignalPanel() = 0;

    // frmRealMonitor shown (not modal; a shown window stays as it is), or
    // closed without its close box's steps.
    virtual void showWindow() = 0;
    virtual void closeWindow() = 0;
};

// The simple live monitor without its window: the switch (TempMonitorCheck),
// the board's stream for it (TP_Monitor), the receive-notification reader
// with its decoder, the answer to port error events, and the live text that
// its window shows, fed by its own stream or, during a capture, by the
// capture's stored bytes.
//
// Whether it is open (SimpleMonitorOpen), whether a capture holds the
// stream, whether the start button is enabled and the board verified are
// the session's. While a capture holds the link the switch only opens and
// closes the window; nothing is sent to the board and nothing is
// discarded, since the stream is the capture's. The capture's end calls
// TP_Monitor, which restarts the stream when the monitor is still on;
// switching off stops the board only while the start button is enabled.
//
// The monitored speed, the direction and the live display (read for each
// block, so a switch takes effect at once) are the session's settings.
//
// The decoder's high nibble (SimpleMonitorHigh) and the warning's one-time
// flag live as long as this object, that is for the program's run.
class SimpleMonitor : public QObject
{
    Q_OBJECT
public:
    SimpleMonitor(LinkOwner &owner, MonitorSession &session, SimpleMonitorContext &context, QObject *parent = nullptr);
    ~SimpleMonitor() override;

    // The window opens (pressed) or closes with the toolbar button's state.
    void TempMonitorCheck(bool pressed);
    // The board's stream starts or stops with the toolbar button's state.
    void TP_Monitor(bool pressed);
    // The window was closed by its close box, after the toolbar button and
    // the menu item were set off: the monitor goes off.
    void windowClosed();

    // A capture's stored stream bytes, for the window while it is open.
    void feedCapture(QByteArrayView stored);

    // The window's text.
    LiveLines &lines() { return m_lines; }

private:
    void onReceive();
    void onLineError();
    void show(const std::vector<LiveByte> &bytes);
    void reopenAfterError(SerialPort &port);

    LinkOwner &m_owner;
    SimpleMonitorLink m_link;
    MonitorSession &m_session;
    SimpleMonitorContext &m_context;
    LiveByteDecoder m_streamDecoder{LiveByteDecoder::Rule::SimpleMonitor};
    LiveByteDecoder m_captureDecoder{LiveByteDecoder::Rule::Capture};
    LiveLines m_lines;
    bool m_introShown = false; // SimpleMonitorIntroShown
};

} // namespace ferrox
