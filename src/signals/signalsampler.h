#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>

namespace ferrox {

class LinkLease;
class LinkOwner;
class MonitorSession;
class StatusPanel;

// What a signal lamp shows: one of the panel's three reference images.
enum class LampImage {
    Grey,  // not sampled: sampling stopped or the panel disabled
    Black, // the signal is not asserted
    Red    // the signal is asserted
};

// The control-signal sampling of the monitored line, without widgets.
//
// While sampling is on, a tick every 333 ms (the timer "Timer1") asks the
// board for the signal states through the link owner (CMD_SIGNALS, two
// bytes within one second) and sets the eight lamps from the first byte
// of the reply: bit i = 0 means signal i is asserted. A tick that finds
// the link busy is skipped; at most one tick runs at a time.
//
// A board that does not answer with two bytes within the second, or a
// port that cannot be opened, takes the stop path: the status line says
// so, the receive threshold goes to 0, sampling goes off and the lamps
// turn grey. Only switching sampling on again (a good connection check)
// resumes it.
//
// Each lamp keeps its state as a text tag ("1" asserted, "0" not asserted
// or not sampled, empty before the first sample); the readout line is made
// from the tags, never from the images. Disabling and enabling the panel
// (a capture or the simple monitor runs) changes images only. A tick in a
// phase that greys the lamps is skipped, and a reply that arrives in one
// (it was on its way when the capture started or the simple monitor
// opened) sets the tags but leaves the lamps grey.
class SignalSampler : public QObject
{
    Q_OBJECT
public:
    static constexpr int LampCount = 8;
    static constexpr int PeriodMs = 333;

    SignalSampler(LinkOwner &owner, const MonitorSession &session, StatusPanel &status, QObject *parent = nullptr);
    ~SignalSampler() override;

    // The sampling switch, "Timer1"'s enabled state.
    void setSamplingEnabled(bool enabled);
    bool isSamplingEnabled() const { return m_timer.isActive(); }
    const QTimer &samplingTimer() const { return m_timer; }

    // One tick, as the timer runs it.
    void tick();

    LampImage lampImage(int index) const { return m_images.at(index); }
    QString lampTag(int index) const { return m_tags.at(index); }
    // The sampling indicator is lit while a sample is in progress.
    bool indicatorLit() const { return m_indicatorLit; }
    bool panelEnabled() const { return m_panelEnabled; }

    // DisableSignalPanel / EnableSignalPanel: all lamps grey and the panel
    // disabled, or all lamps black and the panel enabled. Tags stay.
    void DisableSignalPanel();
    void EnableSignalPanel();

    // The readout: "DCD◎ " or "DCD● " and so on for the eight signals in
    // index order, then CR LF. Only tag "1" counts as asserted.
    QString readoutLine() const;

signals:
    // Lamps, tags, indicator or the panel's enabled state changed.
    void changed();
    // A sample was taken and the lamps show it.
    void sampled();
    // The stop path ran: sampling is off until switched on again.
    void stoppedOnError();

private:
    void onSample(bool answered, std::uint8_t stateByte, const LinkLease &lease);
    void setAllImages(LampImage image);

    LinkOwner &m_owner;
    const MonitorSession &m_session;
    StatusPanel &m_status;
    QTimer m_timer;
    std::array<LampImage, LampCount> m_images;
    std::array<QString, LampCount> m_tags;
    bool m_indicatorLit = false;
    bool m_panelEnabled = true;
    bool m_ticking = false;
};

} // namespace ferrox
