#pragma once

#include "capturelink.h"
#include "capturereceiver.h"
#include "capturerecorder.h"

#include "data/arrivaltimes.h"
#include "session/capturephase.h"
#include "data/finishedcapture.h"

#include <QObject>
#include <QTimer>

namespace ferrox {

// One capture on the link, the same for the window and ferrox-cli; they
// add their own texts, counters and lamps on its signals.
//
// start() asks the link owner for the link (a capture waits for a
// connection check to end), configures the board, reads its version reply
// and starts the stream; the stream is stored into the recorder until it
// ends:
//  - the board's end code;
//  - overflow or data rate: the board is stopped at once (waiting bytes
//    discarded, CMD_STOP), stopSent(Forced, …) reports the write;
//  - the user's stop: CMD_STOP goes out without discarding the waiting
//    stream bytes (they belong to the capture); when the end code has not
//    come EndCodeWaitMs later, the stream is ended here (Unfinished);
//  - a port error event (an unplugged adapter): the stream is ended here
//    with what arrived, portError() says why.
// streamEnded() then lets the front end stamp and process the data while
// the link is still held; afterwards what still waits is discarded, the
// board is told to stop (unless quietBoardAtEnd is false: the simple
// monitor takes the stream over) and the command drained at the link speed;
// the link is released and finished() follows.
//
// The run moves the capture's phase, which its front end owns and reads
// (the window's session, ferrox-cli's capture): it begins at start(), or
// at the front end's prepare(); after finished() it stays Processing until
// the front end has presented the capture and calls finish(). One capture
// at a time: a start is refused unless the phase is Idle or Preparing.
class CaptureRun : public QObject
{
    Q_OBJECT
public:
    static constexpr int EndCodeWaitMs = 2000;
    enum class StopKind { User, Forced };

    CaptureRun(LinkOwner &owner, CapturePhase &phase, QObject *parent = nullptr);

    void start(const CaptureStartRequest &request);
    // The user's stop, marked in the phase: CMD_STOP now while the stream
    // runs (each request sends it again), or as soon as the stream starts
    // when asked for before. Does nothing when no capture holds the link.
    void requestStop();
    // Tells the board to stop outside a capture (after a start that failed).
    void stopBoard();
    // Read at the end of the stream: false leaves the board streaming for
    // whoever takes the link next (the simple monitor).
    void setQuietBoardAtEnd(bool quiet) { m_quietBoardAtEnd = quiet; }

    const CaptureRecorder &recorder() const { return m_recorder; }
    // When each stored block arrived: the start is the stream's start.
    // Empty for a stream that is not kept, which would grow it without end.
    const ArrivalTimes &arrivalTimes() const { return m_arrivals.times(); }
    // Microseconds since the stream's start on the arrival times' clock.
    qint64 elapsedMicros() const { return m_arrivals.elapsedMicros(); }
    // False: a capture longer than the buffer (see CaptureRecorder). Read
    // at start().
    void setKeepsStream(bool keeps) { m_keepsStream = keeps; }
    qint32 CaptureCount() const { return m_recorder.CaptureCount(); }
    // The port's error code when a port error ended the stream, else 0.
    int portError() const { return m_portError; }
    // How the stream ended by exit, for its processing; portName names the
    // port in the failure line of a port that went away.
    CaptureEnding ending(CaptureRecorder::Exit exit, const QString &portName) const;

signals:
    // No stream: the port could not be opened, the speed or direction text
    // is unknown, or no version reply came. The link is released.
    void startFailed(const CaptureStartOutcome &outcome);
    // The board streams; reply holds every byte of its version reply.
    void streamStarted(const QByteArray &reply);
    // The stream bytes of one block as stored (the end code included), and
    // the stream bytes stored so far: the feed of a live view, a counter,
    // a receive lamp.
    void stored(const QByteArray &bytes, qint32 CaptureCount);
    // A CMD_STOP of this capture went out (written) or failed to.
    void stopSent(CaptureRun::StopKind kind, bool written);
    // The stream is over; recorder() holds it with its end code.
    void streamEnded(CaptureRecorder::Exit exit);
    // The board is quiet (or handed on) and the link released.
    void finished();

private:
    void onStarted(const CaptureStartOutcome &outcome);
    void sendUserStop();
    void onEnded(CaptureRecorder::Exit exit);
    void onPortError(int errorCode);
    void onEndCodeOverdue();
    void endStream(CaptureRecorder::Exit exit);

    CaptureLink m_link;
    CaptureRecorder m_recorder;
    CaptureReceiver m_receiver;
    ArrivalRecorder m_arrivals;
    qint64 m_streamBytes = 0; // stored since the stream started, the end code included
    QTimer m_endCodeWait;
    CapturePhase &m_phase;
    int m_portError = 0;
    bool m_quietBoardAtEnd = true;
    bool m_keepsStream = true;
};

} // namespace ferrox
