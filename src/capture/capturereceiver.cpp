#include "capturereceiver.h"

#include "platform/serialport.h"

namespace ferrox {

CaptureReceiver::CaptureReceiver(CaptureRecorder &recorder, QObject *parent)
    : QObject(parent), m_recorder(recorder)
{
}

void CaptureReceiver::start(SerialPort &port)
{
    stop();
    m_port = &port;
    m_recorder.start();
    m_arrival = connect(m_port, &SerialPort::bytesArrived, this, &CaptureReceiver::readPass);
    m_error = connect(m_port, &SerialPort::lineError, this, &CaptureReceiver::portError);
    readPass();
}

void CaptureReceiver::stop()
{
    disconnect(m_arrival);
    disconnect(m_error);
}

void CaptureReceiver::readPass()
{
    // Once the stream is over (the recorder ended it, or the owner did) the
    // port's bytes are no longer the capture's.
    if (!m_recorder.isRunning())
        return;
    const qint16 waiting = m_port->bytesWaiting();
    if (!m_recorder.checkWaitingCount(waiting)) {
        if (waiting == 0)
            return;
        const QByteArray block = m_port->readAll();
        const qsizetype taken = m_recorder.feed(block);
        if (taken > 0)
            emit stored(block.first(taken), m_recorder.CaptureCount());
        if (m_recorder.isRunning())
            return;
    }
    stop();
    emit ended(m_recorder.exit());
}

} // namespace ferrox
