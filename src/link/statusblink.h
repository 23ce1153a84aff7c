#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace ferrox {

class StatusPanel;

// A status text that blinks once: the text, after 250 ms one ideographic
// space, after another 250 ms the text again (asked anew, so it shows the
// state of that moment), then done. A new blink replaces a running one,
// whose done is then never called.
class StatusBlink : public QObject
{
    Q_OBJECT
public:
    static constexpr int PhaseMs = 250;

    explicit StatusBlink(StatusPanel &panel, QObject *parent = nullptr);

    void start(std::function<QString()> text, std::function<void()> done);
    bool isRunning() const { return m_timer.isActive(); }

private:
    void nextPhase();

    StatusPanel &m_panel;
    QTimer m_timer;
    int m_phase = 0;
    std::function<QString()> m_text;
    std::function<void()> m_done;
};

} // namespace ferrox
