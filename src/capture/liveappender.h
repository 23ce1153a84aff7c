#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace ferrox {

// Collects live text as it arrives and hands it to its view in one batch
// per frame, so that a saturated link costs one insertion per frame
// instead of one per byte.
//
// The view's text is bounded: the appender counts the characters the view
// holds (in its own batches) and, once they would pass maxChars, asks the
// view to drop its oldest characters down to three quarters of the bound
// (dropping in large steps keeps the cost of removal rare). Text queued
// between frames is bounded the same way, so neither the view nor the
// queue grows with the time the link runs.
class LiveTextAppender : public QObject
{
    Q_OBJECT
public:
    static constexpr int FrameMs = 40;
    static constexpr qsizetype DefaultMaxChars = 16 * 1024;

    explicit LiveTextAppender(qsizetype maxChars = DefaultMaxChars, QObject *parent = nullptr);

    // Queues text for the next frame.
    void append(const QString &text);
    // The view was emptied: forget what it held and what is queued.
    void clear();
    // Hands over what is queued now instead of at the next frame.
    void flush();

    // Characters the view holds after the batches handed over so far.
    qsizetype shownChars() const { return m_shown; }

signals:
    // Remove the first dropLeading characters of the view's text, then
    // append text at its end.
    void batchReady(const QString &text, qsizetype dropLeading);

private:
    qsizetype keepChars() const { return m_maxChars / 4 * 3; }

    const qsizetype m_maxChars;
    QTimer m_frame;
    QString m_pending;
    qsizetype m_shown = 0;
    bool m_replaceAll = false; // the queue alone outgrew the bound
};

} // namespace ferrox
