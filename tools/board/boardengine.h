#pragma once

#include "boardconfig.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <random>

namespace ferrox {

// The board's side of the link: takes the bytes the PC writes, answers as
// a line monitor board does, and streams the configured traffic.
//
// Commands are single bytes: 'V' version reply, 'S' signal mask (2 bytes),
// 'M' measurement records (2 bytes each, low byte first, until 'E'),
// '0'..'9' monitor speed code, 'd'/'D' data width, 'A'/'B'/'G' stream the
// traffic J1<-J2 / J1->J2 / both, 'E' stop (a stopped stream ends with the
// end code 0xFF). Other bytes are ignored.
//
// A command that is accepted while a stream or measurement runs ends it
// first, without an end code; a stream always stops between two monitored
// bytes, never after a lone high nibble.
//
// The board hears nothing while the PC's link speed differs from its
// jumper, and nothing at all when configured silent. Streams and
// measurement records are paced at config.rate bytes per second by a timer;
// output() carries whatever is due, in chunks. With config.pieces a
// stream's chunks are cut into pieces that leave apart within the pacing
// tick, in order, answers and end code behind them.
class BoardEngine : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Streaming, Measuring };

    // traffic: the monitored line as stream bytes (see traffic.h).
    BoardEngine(const BoardConfig &config, const QByteArray &traffic, QObject *parent = nullptr);

    // The PC's port settings, e.g. " 57600,n,8,1"; only the speed matters.
    // An unreadable text counts as a speed no jumper matches.
    void setLinkSettings(const QString &settingsText);
    // The PC's link speed in baud (0 = unknown, which no jumper matches).
    // Until told otherwise the board assumes the speed of its jumper.
    void setLinkBaud(int baud);
    // Bytes the PC wrote, in order; answers come by output().
    void receive(const QByteArray &fromPc);

    int linkBaud() const { return m_linkBaud; }
    bool hearsLink() const;
    // The monitor speed of the last accepted speed code (at start, 9600
    // baud) for this firmware, six characters right-aligned: "  9600".
    QByteArray monitorSpeedText() const;
    State state() const { return m_state; }
    bool isStreaming() const { return m_state == State::Streaming; }
    bool isMeasuring() const { return m_state == State::Measuring; }
    // 'A', 'B' or 'G' while streaming; 0 otherwise.
    char direction() const { return m_state == State::Streaming ? m_direction : char(0); }
    // True while a stream still has traffic to send (false once a stream
    // without --loop has sent all of it).
    bool hasTrafficPending() const;
    // The reply to 'V' as it is sent now (config.replyLength bytes).
    QByteArray versionReply() const;

signals:
    void output(const QByteArray &toPc);
    // Stream bytes leave: `count` of them from stream offset `offset`,
    // counted from 0 at each stream's start.
    void streamSent(qint64 offset, qint64 count);
    // A byte the PC wrote that the board heard at its jumper's speed, before
    // it acts on it.
    void heard(std::uint8_t command);

private:
    // Bytes handed out together; stream bytes come first in it.
    struct Piece
    {
        QByteArray bytes;
        qint64 dueMs = 0;         // on m_pieceClock
        qint64 streamOffset = 0;
        qint64 streamCount = 0;   // stream bytes at the front of bytes
    };

    void handleCommand(std::uint8_t command);
    void startStream(char direction);
    void startMeasuring();
    // Ends a stream or measurement; a stream's pending low nibble goes out.
    void endActivity();
    void stopStream(bool withEndCode);
    void startPacing();
    void pace();
    QByteArray takeStream(qint64 count, bool wrapAlways);
    QByteArray takeRecords(qint64 count);
    // Stream bytes just taken, then trailer (the end code); cuttable ones
    // may leave in pieces.
    void sendStream(const QByteArray &stream, const QByteArray &trailer, bool cuttable);
    // Where a chunk of stream is cut (offsets into it) and how many
    // milliseconds after now each later piece leaves.
    QList<std::pair<qsizetype, int>> cutsOf(const QByteArray &stream);
    void send(const QByteArray &bytes);
    void releasePieces();
    void deliver(const Piece &piece);
    int tickMs() const;

    const BoardConfig m_config;
    const QByteArray m_traffic;
    QByteArray m_records; // measure counts as 2-byte records, low byte first
    const bool m_modernCodes; // firmware V1.03 and later: speed codes from 600 baud

    int m_linkBaud;
    char m_speedCode;
    State m_state = State::Idle;
    char m_direction = 0;

    QByteArray m_pass;    // the stream being sent (the first pass carries the error tags)
    QByteArray m_session; // one pass of the direction's traffic, for the repeats
    qsizetype m_position = 0;
    qint64 m_streamOffset = 0; // stream bytes sent since the stream started
    std::uint8_t m_lastStreamByte = 0;
    qsizetype m_recordPosition = 0;

    QTimer m_pacer;
    QElapsedTimer m_paceClock;
    qint64 m_paced = 0; // bytes sent since m_paceClock started

    QByteArray m_pendingOutput; // gathered while one receive() runs
    bool m_receiving = false;

    std::deque<Piece> m_pieces; // waiting to leave, in order
    QTimer m_pieceTimer;
    QElapsedTimer m_pieceClock;
    std::mt19937 m_random;
};

} // namespace ferrox
