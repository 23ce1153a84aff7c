#pragma once

#include "timeline/splitfiles.h"
#include "timeline/streamsplitter.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferrox {

// Where a capture longer than the buffer goes: the stream cut into
// numbered data files as it arrives, each examined as a capture is. A
// capture that resumes after a lost link brings several streams, one
// after the other: each begins in a file of its own, numbered on from the
// last, and the counts are those of the whole run.
class SplitOutput
{
public:
    SplitOutput(const QString &dataPath, qint32 splitBytes, int keepFiles);

    // A stream begins: `start` gives its wall-clock start (and, after a
    // lost link, when the link was lost) that its files' times name. The
    // stream before must have been finished.
    void begin(const ArrivalTimes &start);
    // A stored block of the stream (its end code, if any, at its end).
    // False once a file could not be written (failure() says why); the
    // capture is then to be stopped and nothing more is written.
    bool feed(QByteArray bytes, qint64 arrivalMicros);
    // Writes what is left of the stream; false when that failed.
    // endedByProgram: see StreamSplitter::finish(); lastByteCut() tells a
    // lone half dropped at the end of this stream.
    bool finish(bool endedByProgram);
    bool lastByteCut() const { return m_lastByteCut; }

    const SplitFiles &files() const { return m_files; }
    // Monitored bytes received so far, and those in the files written.
    qint64 monitoredBytes() const { return (m_earlierStreamBytes + (m_splitter ? m_splitter->streamBytes() : 0)) / 2; }
    qint64 savedMonitoredBytes() const { return m_savedStreamBytes / 2; }
    qint64 sequenceErrors() const { return m_sequenceErrors; }
    const QString &failure() const { return m_failure; }

private:
    bool write(const StreamSplitter::Piece &piece);

    qint32 m_splitBytes;
    std::optional<StreamSplitter> m_splitter; // the stream under way
    SplitFiles m_files;
    qint64 m_earlierStreamBytes = 0; // of the streams finished
    qint64 m_sequenceErrors = 0;
    qint64 m_savedStreamBytes = 0; // without the end codes
    bool m_lastByteCut = false;
    QString m_failure;
};

} // namespace ferrox
