#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace ferrox {

// The board's end of the link: the master side of a raw pseudo-terminal.
// The program under test opens the slave side as its serial port (Qt locks
// it exclusively, so the board serves the master only). A slave descriptor
// of our own stays open, so that the program closing and reopening its
// port never leaves the master without a slave (which would read as EIO).
// What the program writes is read a transit time later, a byte at a time,
// each with the link speed the port has at that moment.
class PtyLink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~PtyLink() override;

    // Opens the pseudo-terminal, raw at a fresh serial device's 9600 baud
    // until a program sets its own; false with a message for the user.
    bool open(QString &error);
    QString slavePath() const { return m_slavePath; }

    // Queues bytes for the PC; they leave as fast as the slave side takes
    // them. When the PC does not read, at most 32 MiB wait; more is dropped,
    // as bytes are lost on a serial line nobody reads.
    void send(const QByteArray &bytes);
    // Closes both sides, as an unplugged adapter: the program's port sees
    // the line hang up.
    void hangUp();

signals:
    // Bytes the PC wrote, with the link speed its port was set to when
    // they were read (baud; 0 when the setting is no standard speed).
    void received(const QByteArray &bytes, int linkBaud);

private:
    void readMaster();
    void writePending();
    int linkBaud() const;

    int m_master = -1;
    int m_slaveKeeper = -1;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer m_transit; // from the PC's write to the board's hearing it
    QByteArray m_pending;  // bytes for the PC; the first m_sent of them are gone
    qsizetype m_sent = 0;
    bool m_droppedReported = false;
};

} // namespace ferrox
