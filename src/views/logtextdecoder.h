#pragma once

#include <QByteArray>
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <vector>

namespace ferrox {

// Decodes a log file's bytes as decodeLogText does, in pieces: the first
// (more than a screen of any rendering) at once, the others on a worker
// thread, in order. A view inserts the text decoded so far while the rest
// is decoded beside it; pieces end after a line feed, so together they
// are exactly the text the whole gives.
class LogTextDecoder : public QObject
{
    Q_OBJECT

public:
    explicit LogTextDecoder(QObject *parent = nullptr);
    ~LogTextDecoder() override;

    // Decodes the first piece of `bytes` now and starts on the others;
    // drops a decoding still running.
    void start(const QByteArray &bytes);
    // Drops the pieces not taken yet.
    void cancel();
    // True while pieces are still to be taken.
    bool isRunning() const { return m_taken < m_ends.size(); }
    // The text of the pieces decoded and not taken yet, in order; empty
    // when none is ready.
    QString takeReady();
    // The text of every piece not taken yet, decoding here what the worker
    // has not done yet.
    QString takeAll();

signals:
    // Another piece is ready to take.
    void ready();

private:
    void clear();

    QByteArray m_bytes;
    std::vector<qsizetype> m_ends; // where each piece ends, in bytes
    size_t m_taken = 0;            // pieces taken
    QString m_first;
    QFuture<QString> m_others; // the pieces after the first, as decoded
    QFutureWatcher<QString> m_watcher;
};

} // namespace ferrox
