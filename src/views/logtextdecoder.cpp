#include "logtextdecoder.h"

#include "views/logtext.h"

#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <utility>

namespace ferrox {

namespace {

// Decoded before the view shows anything: more than the first screen of
// any rendering, a fraction of a millisecond.
constexpr qsizetype firstPieceBytes = 64 * 1024;
// A few milliseconds of decoding each: the worker stays well ahead of the
// view, which inserts far more slowly than it decodes.
constexpr qsizetype pieceBytes = 256 * 1024;

} // namespace

LogTextDecoder::LogTextDecoder(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcherBase::resultsReadyAt, this, &LogTextDecoder::ready);
}

LogTextDecoder::~LogTextDecoder()
{
    cancel();
}

void LogTextDecoder::start(const QByteArray &bytes)
{
    cancel();
    m_bytes = bytes;
    qsizetype end = linePieceEnd(bytes, 0, firstPieceBytes);
    m_ends.push_back(end);
    while (end < bytes.size()) {
        end = linePieceEnd(bytes, end, pieceBytes);
        m_ends.push_back(end);
    }
    m_first = decodeLogText(QByteArrayView(bytes).first(m_ends.front()));
    if (m_ends.size() == 1)
        return;
    // The worker has its own references to the bytes and the promise:
    // a decoding dropped meanwhile ends at its next piece.
    auto promise = std::make_shared<QPromise<QString>>();
    m_others = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, bytes, ends = m_ends] {
        for (size_t i = 1; i < ends.size() && !promise->isCanceled(); ++i)
            promise->addResult(decodeLogText(QByteArrayView(bytes).sliced(ends[i - 1], ends[i] - ends[i - 1])));
        promise->finish();
    });
    m_watcher.setFuture(m_others);
}

void LogTextDecoder::cancel()
{
    m_others.cancel();
    clear();
}

void LogTextDecoder::clear()
{
    m_watcher.setFuture(QFuture<QString>());
    m_others = QFuture<QString>();
    m_bytes.clear();
    m_ends.clear();
    m_taken = 0;
    m_first.clear();
}

QString LogTextDecoder::takeReady()
{
    if (!isRunning())
        return {};
    QString text;
    if (m_taken == 0) {
        text = std::exchange(m_first, QString());
        m_taken = 1;
    }
    // The future's result i is piece i + 1.
    while (m_taken < m_ends.size() && qsizetype(m_taken) <= m_others.resultCount())
        text += m_others.resultAt(int(m_taken++ - 1));
    if (!isRunning())
        clear();
    return text;
}

QString LogTextDecoder::takeAll()
{
    QString text = takeReady();
    if (isRunning()) {
        m_others.cancel();
        text += decodeLogText(QByteArrayView(m_bytes).sliced(m_ends[m_taken - 1]));
        clear();
    }
    return text;
}

} // namespace ferrox
