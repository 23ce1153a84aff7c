#pragma once

#include "capturerecorder.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>

namespace ferrox {

class SerialPort;

// The capture's receive loop on the link port, driven by the port's
// arrival signal instead of polling: on every arrival it reads the
// waiting count (a negative count takes the data-rate exit and the
// waiting bytes stay unread), then reads every waiting byte and stores
// it through the recorder until the capture ends.
//
// The receiver does not talk to the board: whoever runs the capture sends
// the stop commands when ended() says why the stream is over.
class CaptureReceiver : public QObject
{
    Q_OBJECT
public:
    explicit CaptureReceiver(CaptureRecorder &recorder, QObject *parent = nullptr);

    // Starts a fresh capture in the recorder and reads the stream, beginning
    // with any bytes that already wait.
    void start(SerialPort &port);
    // Reads no more; the recorder keeps what it has.
    void stop();

signals:
    // The bytes of one block that were stored (the end code included), in
    // order, with the stream bytes stored so far: for a receive lamp, a byte
    // counter or a live view.
    void stored(const QByteArray &bytes, qint32 CaptureCount);
    // The capture ended by itself: end code, overflow or data rate.
    // Reading has stopped.
    void ended(CaptureRecorder::Exit exit);
    // The port reported an error event (an unplugged adapter) while the
    // stream ran; reading goes on unless the owner stops it.
    void portError(int errorCode);

private:
    void readPass();

    SerialPort *m_port = nullptr;
    CaptureRecorder &m_recorder;
    QMetaObject::Connection m_arrival;
    QMetaObject::Connection m_error;
};

} // namespace ferrox
