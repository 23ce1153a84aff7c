#pragma once

#include <QByteArray>
#include <QObject>

#include <deque>

class QSocketNotifier;

namespace ferrox {

// Live output to standard output or standard error that never blocks the
// program: a reader that stops reading (a paused pager, a slow terminal,
// a Wireshark that pauses) must not hold up the board link.
//
// Pieces (a line, a pcap record) are queued whole and written as the
// descriptor takes them. Once more than MaxQueuedBytes wait, new pieces are
// dropped whole, so what is written stays well formed; fellBehind() says so
// once, also for what the end leaves unwritten. A reader that went away (a
// closed pipe) gives closed(), any other failed write (a full disk,
// /dev/full, a closed descriptor) failed() with the system's error number;
// either comes once and ends the writing.
//
// A pipe, FIFO or terminal is opened again, non-blocking, for this writer
// alone, so the shell's descriptor keeps its flags. Anything else (a
// regular file, which does not block) is written as it is. The program
// ignores SIGPIPE (as ferrox-cli does), so a closed pipe fails a write.
class LiveOutput : public QObject
{
    Q_OBJECT
public:
    static constexpr qsizetype MaxQueuedBytes = 1024 * 1024;
    // What the end waits at most for a reader to take what is queued.
    static constexpr int FinishWaitMs = 1000;

    explicit LiveOutput(int fd, QObject *parent = nullptr);
    ~LiveOutput() override;

    // Queues a piece; false when it was dropped or the reader is gone.
    bool write(const QByteArray &piece);
    // Pieces dropped so far, and their bytes.
    qint64 droppedBytes() const { return m_droppedBytes; }
    bool isClosed() const { return m_closed; }
    // Why the writing ended: EPIPE for a reader that went away, another
    // error number for a failed write; 0 while it goes on.
    int error() const { return m_error; }
    // Between finish() and finished().
    bool isFinishing() const { return m_finishing; }

    // Writes what is queued, then finished() (at once when nothing waits,
    // after FinishWaitMs at most; what is left then counts as dropped).
    void finish();

signals:
    void fellBehind();
    void closed();
    void failed(int error);
    void finished();

private:
    void writeQueued();
    void drop(qint64 bytes);
    void close(int error);

    int m_fd;
    bool m_ownsFd = false;
    QSocketNotifier *m_notifier = nullptr;
    std::deque<QByteArray> m_queue;
    qsizetype m_queuedBytes = 0;
    qsizetype m_writtenOfFront = 0;
    qint64 m_droppedBytes = 0;
    bool m_closed = false;
    int m_error = 0;
    bool m_finishing = false;
};

} // namespace ferrox
