#pragma once

#include "data/capturebuffer.h"

#include <QByteArrayView>
#include <QtGlobal>

namespace ferrox {

// Stores the stream of a capture as it is read from the link port, block
// by block, into a fresh CaptureBuffer, and decides when the capture ends.
//
// Counts are stream bytes (two per monitored byte). A capture ends
//  - at the board's end code 0xFF: it is stored at CaptureEnd (= the stream
//    bytes before it) and the rest of its block is dropped;
//  - on overflow: once CaptureLimit (262,144) stream bytes are stored, the
//    end code is put at index 262,144 and the rest is dropped;
//  - on the data-rate exit: the port reported more than 32,767 waiting
//    bytes (a negative waiting count); the end code goes after what is
//    stored and the waiting bytes are never read;
//  - when the program ends the stream itself (the board's end code never
//    came): the end code goes after what is stored.
// The board ends its stream between two monitored bytes, but a stream the
// program ends without it (the data rate, or no end code: a lost link) can
// stop between the two halves of one. That lone high half is no byte, and
// before the end code it would read as a tag-sequence error that rejects
// the whole capture: it is dropped, and lastByteCut() says so. A high half
// the board itself puts before its end code stays: that error is the
// board's.
// Once ended, the recorder takes no more bytes until the next start().
class CaptureRecorder
{
public:
    // The highest index of CaptureBuffer: the overflow exit is taken when
    // CaptureCount reaches it.
    static constexpr qint32 CaptureLimit = CaptureBuffer::LastIndex;

    enum class Exit {
        Running,   // the stream is being stored
        EndCode,   // the board's end code arrived
        Overflow,  // CaptureLimit stream bytes stored
        DataRate,  // the PC fell behind: the waiting count read negative
        Unfinished // ended by the program without the board's end code
    };

    // A fresh capture: every position zero, CaptureCount 0, running.
    void start();

    // False for a capture longer than the buffer, whose stream goes to
    // numbered data files as it arrives: no stream bytes are kept (the
    // capture stays the end code alone, CaptureCount 0) and there is no
    // overflow exit; the end code and the data-rate exit still end it.
    // Read by feed(); true unless told otherwise.
    void setKeepsStream(bool keeps) { m_keepsStream = keeps; }

    // Stores the bytes of one block read from the port, in order, until the
    // capture ends. Returns how many bytes of the block were stored (the
    // end code included): the bytes a live view may show.
    qsizetype feed(QByteArrayView block);

    // The port's waiting count as read before a block is taken: a negative
    // count takes the data-rate exit. True when it did.
    bool checkWaitingCount(qint16 waiting);

    // Ends a running capture without the board's end code.
    void endStream();

    bool isRunning() const { return m_exit == Exit::Running; }
    // The program's ending dropped a lone high half (see above).
    bool lastByteCut() const { return m_lastByteCut; }
    Exit exit() const { return m_exit; }

    // Stream bytes stored so far, the end code not counted; also the next
    // write index.
    qint32 CaptureCount() const { return m_count; }
    // Monitored bytes stored so far: CaptureCount / 2, rounded down.
    qint32 monitoredBytes() const { return m_count / 2; }

    // The stream; its CaptureEnd is set once the capture has ended.
    const CaptureBuffer &capture() const { return m_capture; }

private:
    void end(Exit exit);

    CaptureBuffer m_capture;
    qint32 m_count = 0;
    // Never started: nothing is stored, as after an end.
    Exit m_exit = Exit::Unfinished;
    bool m_keepsStream = true;
    bool m_lastByteCut = false;
};

} // namespace ferrox
