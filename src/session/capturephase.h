#pragma once

#include <QObject>

namespace ferrox {

// Where a capture is, the one record of it: the capture run moves it, the
// window (through the monitor session) and ferrox-cli read it.
//
//   Idle ─prepare()→ Preparing ─beginStart()→ Starting ─setStreaming()→ Streaming
//        ─endStream()→ Ending ─beginProcessing()→ Processing ─finish()→ Idle
//
// Preparing is the front end's own part before the board is set up
// (ferrox-cli's connection check, the window's log window); a start may
// also begin straight from Idle. The user's stop is a mark beside the
// step: asked for before the stream runs it goes out once it runs, and it
// stays until finish(), since the start button follows it to the end.
// Every capture step may end in Idle at once (a start that failed).
// Steps out of their turn are refused and change nothing.
class CapturePhase : public QObject
{
    Q_OBJECT
public:
    enum class Step { Idle, Preparing, Starting, Streaming, Ending, Processing };

    explicit CapturePhase(QObject *parent = nullptr);

    Step step() const { return m_step; }
    bool stopAsked() const { return m_stopAsked; }
    bool isIdle() const { return m_step == Step::Idle; }
    // From its preparation until the stream is over and the board quieted
    // or handed on: the link is the capture's, or will be once its turn
    // comes (a capture waits for a check to end).
    bool holdsLink() const;

    bool prepare();
    bool beginStart();
    void setStreaming();
    // Marks the user's stop while a capture holds the link (again when
    // asked again); false when none does.
    bool askStop();
    void endStream();
    void beginProcessing();
    void finish();

signals:
    void changed();

private:
    void set(Step step, bool stopAsked);

    Step m_step = Step::Idle;
    bool m_stopAsked = false;
};

} // namespace ferrox
